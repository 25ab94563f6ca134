// The page tokenizer on arbitrary page bytes, and the attribute syntax on
// every tag it gives.

#include <algorithm>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "html/Attributes.h"
#include "html/TagTable.h"
#include "html/TokenList.h"
#include "text/ShiftJis.h"
#include "text/StringList.h"

namespace {

constexpr std::string_view kAttributes[] = {
    "href=",  "name=",  "src",    "background", "bgcolor",   "text", "color", "size", "width",
    "height", "hspace", "vspace", "leftmargin", "topmargin", "type", "value", "",
};

void CheckTag(std::string_view tag) {
    FUZZ_CHECK(tag.size() <= kMaxTagLength);
    // Folded to small letters, line breaks made spaces; a double-byte
    // character's second byte is left as it is, whatever it is.
    for (size_t i = 0; i < tag.size(); ++i) {
        const auto byte = static_cast<uint8_t>(tag[i]);
        if (IsLeadByte(byte)) {
            ++i;
        } else {
            FUZZ_CHECK(byte != '\r' && byte != '\n' && !(byte >= 'A' && byte <= 'Z'));
        }
    }
    FindTag(tag);
    for (std::string_view name : kAttributes) {
        const std::string_view value = AttributeValue(tag, name);
        // A value is a piece of its tag.
        if (!value.empty()) {
            FUZZ_CHECK(value.data() >= tag.data() &&
                       value.data() + value.size() <= tag.data() + tag.size());
        }
        AttributeNumber(value);
        Colour colour = 0x123456;
        if (!ParseColour(value, colour)) {
            FUZZ_CHECK(colour == 0x123456);
        }
        FUZZ_CHECK(colour <= 0xFFFFFF);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StringList tokens;
    TokenizePage(data, size, tokens);
    for (const StringNode* node = tokens.first(); !node->IsSentinel(); node = node->next()) {
        const std::string& token = *node->text();
        if (!token.empty() && token[0] == '<') {
            CheckTag(token);
        } else {
            FUZZ_CHECK(token.find_first_of("<\t\r\n") == std::string::npos);
        }
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(WindowTitleFor(text.substr(0, 400)).size() <= 255);
    return 0;
}
