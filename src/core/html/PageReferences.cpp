#include "html/PageReferences.h"

#include "html/Attributes.h"
#include "html/TagTable.h"
#include "text/StringList.h"

InputKind ReadInputKind(std::string_view token) {
    const size_t type = token.find("type");
    if (type == std::string_view::npos) {
        return InputKind::None;
    }
    const std::string_view words = token.substr(type);
    if (HasAttribute(words, "text")) {
        return InputKind::Text;
    }
    if (HasAttribute(words, "password")) {
        return InputKind::Password;
    }
    if (HasAttribute(words, "submit")) {
        return InputKind::Submit;
    }
    if (HasAttribute(words, "reset")) {
        return InputKind::Reset;
    }
    return InputKind::None;
}

PageReferences ReadPageReferences(const StringList& tokens) {
    PageReferences references;
    for (const StringNode* node = tokens.first(); node != nullptr && !node->IsSentinel();
         node = node->next()) {
        const std::string& token = *node->text();
        switch (FindTag(token)) {
            case Tag::Title:
                // The walk takes the next token, whatever it is, and goes on after it.
                if (node->next() != nullptr && !node->next()->IsSentinel()) {
                    node = node->next();
                    references.title = *node->text();
                }
                break;
            case Tag::Anchor:
                if (HasAttribute(token, "href=")) {
                    references.links.emplace_back(AttributeValue(token, "href="));
                }
                break;
            case Tag::Input:
                if (const InputKind kind = ReadInputKind(token); kind != InputKind::None) {
                    references.inputs.push_back({kind, std::string(AttributeValue(token, "name"))});
                }
                break;
            default:
                break;
        }
    }
    return references;
}
