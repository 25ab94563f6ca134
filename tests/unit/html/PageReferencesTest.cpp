#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "html/PageReferences.h"
#include "html/TokenList.h"
#include "text/StringList.h"

namespace {

PageReferences Read(const std::string& page) {
    StringList tokens;
    TokenizePage(reinterpret_cast<const uint8_t*>(page.data()), page.size(), tokens);
    return ReadPageReferences(tokens);
}

using Inputs = std::vector<std::pair<InputKind, std::string>>;

Inputs InputsOf(const PageReferences& references) {
    Inputs out;
    for (const PageInput& input : references.inputs) {
        out.emplace_back(input.kind, input.name);
    }
    return out;
}

TEST(PageReferences, InputKindIsReadFromTheTypeWordOn) {
    const std::vector<std::pair<const char*, InputKind>> cases = {
        {"<input name=\"text1\" type=\"submit\">", InputKind::Submit},
        {"<input name=\"password\" type=\"reset\">", InputKind::Reset},
        {"<input type=\"text\" name=\"submit\">", InputKind::Text},
        {"<input type=\"password\" name=\"p\">", InputKind::Password},
        // The kinds are tried in a fixed order over every word after "type".
        {"<input type=\"submit\" name=\"password\">", InputKind::Password},
        {"<input type=\"reset\" value=\"submit\">", InputKind::Submit},
        {"<input name=\"submit\">", InputKind::None},
        {"<input type=\"checkbox\" name=\"c\">", InputKind::None},
    };
    for (const auto& [token, kind] : cases) {
        EXPECT_EQ(ReadInputKind(token), kind) << token;
    }
}

TEST(PageReferences, TitleLinksAndInputsInPageOrder) {
    const PageReferences page = Read(
        "<title>First</title><a href=\"B.htm\">b</a><a name=\"here\">x</a>"
        "<form><input type=\"text\" name=\"keyword\"><input type=\"checkbox\" name=\"c\">"
        "<input type=\"submit\"></form><a href=\"\">empty</a>"
        "<title>Last</title><a href=\"type/text.htm\">a</a><input type=\"reset\" name=\"r\">");
    EXPECT_EQ(page.title, "Last");
    EXPECT_EQ(page.links, (std::vector<std::string>{"b.htm", "", "type/text.htm"}));
    // A link is no form control, whatever words its tag holds.
    EXPECT_EQ(
        InputsOf(page),
        (Inputs{{InputKind::Text, "keyword"}, {InputKind::Submit, ""}, {InputKind::Reset, "r"}}));

    // The token after "<title" is the title whatever it is, and is not read again.
    const PageReferences tagAsTitle = Read("<title><a href=\"a.htm\">a</a><title>");
    EXPECT_EQ(tagAsTitle.title, "<a href=\"a.htm\">");
    EXPECT_TRUE(tagAsTitle.links.empty());
    EXPECT_EQ(Read("<p>no title").title, "");
}

}  // namespace
