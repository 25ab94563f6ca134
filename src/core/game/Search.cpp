#include "game/Search.h"

#include <cstdio>

#include "Message.h"
#include "html/TokenList.h"
#include "text/ShiftJis.h"
#include "text/StringList.h"

namespace {

constexpr std::string_view kWideSpace = "　";
constexpr std::string_view kWideBar = "｜";

// Turns every separator into spaces, a character at a time, so that neither
// the wide characters nor "|" are found inside another character.
void BlankSeparators(std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const std::string_view rest = std::string_view(text).substr(i);
        if (rest.starts_with(kWideSpace) || rest.starts_with(kWideBar)) {
            text[i] = text[i + 1] = ' ';
            i += 2;
        } else if (IsLeadByte(static_cast<uint8_t>(text[i]))) {
            i += 2;
        } else {
            if (text[i] == '|') {
                text[i] = ' ';
            }
            ++i;
        }
    }
}

void InsertAfter(TokenList& page, StringNode*& at, const std::string& token) {
    at = page.InsertAfter(at, token.c_str(), token.size() + 1);
}

void InsertAllAfter(TokenList& page, StringNode* at, const std::vector<std::string>& tokens) {
    for (const std::string& token : tokens) {
        InsertAfter(page, at, token);
    }
}

std::string ResultCount(int n) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "　　検索結果： %2d 件", n);
    return buffer;
}

}  // namespace

int SplitKeywords(std::string_view text, std::vector<std::string>& words) {
    words.clear();
    if (text.size() > kMaxSearchText) {
        ShowMessage(std::string(kKeywordsTooLongText));
        return -1;
    }
    std::string buffer(text);
    BlankSeparators(buffer);
    // A zero byte inside the text ends it, as in the field it came from.
    buffer = buffer.substr(0, buffer.find('\0'));
    size_t p = 0;
    bool first = true;
    while (static_cast<int>(words.size()) < kMaxKeywords && (first || p < buffer.size())) {
        const size_t end = std::min(buffer.find(' ', p), buffer.size());
        const std::string_view word = std::string_view(buffer).substr(p, end - p);
        bool repeated = false;
        for (const std::string& earlier : words) {
            repeated = repeated || EqualsIgnoringAsciiCase(earlier, word);
        }
        if (!repeated) {
            words.emplace_back(word);
        }
        first = false;
        p = buffer.find_first_not_of(' ', end);
        if (p == std::string::npos) {
            break;
        }
    }
    return static_cast<int>(words.size());
}

bool IsBlocked(const std::vector<std::string>& words, const StringList& refused) {
    for (const StringNode* node = refused.first(); !node->IsSentinel(); node = node->next()) {
        for (const std::string& word : words) {
            if (EqualsIgnoringAsciiCase(*node->text(), word)) {
                return true;
            }
        }
    }
    return false;
}

int InsertSearchResults(TokenList& page, const std::vector<std::string>& words, bool blocked,
                        const std::vector<SearchRecord>& table) {
    // The insertion mark stays in the page; without one, the results go last.
    StringNode* mark = page.Find("<!>");
    if (mark == nullptr) {
        page.AppendText("<!>");
        mark = page.Last();
    }
    if (blocked) {
        InsertAllAfter(page, mark,
                       {"<br>", "<br>", ResultCount(0), "<br>", "<br>",
                        "　　　　　恐れ多くて見つかりませんでした。", "<br>", "<br>"});
        return 0;
    }
    StringNode* at = mark;
    int n = 0;
    for (const std::string& word : words) {
        for (const SearchRecord& record : table) {
            for (const std::string& keyword : record.keywords) {
                if (!EqualsIgnoringAsciiCase(keyword, word)) {
                    continue;
                }
                char number[32];
                std::snprintf(number, sizeof number, "%2d. ", n + 1);
                for (const std::string& token :
                     {std::string("　　　　　　"), "<a href=\"" + record.fileName + "\">",
                      number + record.title, std::string("</a>"), std::string("<br>"),
                      std::string("<br>")}) {
                    InsertAfter(page, at, token);
                }
                ++n;
                break;  // a page once per word
            }
        }
    }
    if (n == 0) {
        InsertAllAfter(
            page, mark,
            {"<br>", "<br>", ResultCount(0), "<br>", "<br>",
             "　　　　　検索キーワードに対する該当ページが見つかりませんでした。", "<br>", "<br>",
             "　　　　　検索キーワード変更して、もう一度検索してみてください。", "<br>", "<br>"});
        return 0;
    }
    InsertAllAfter(page, mark, {"<br>", "<br>", ResultCount(n), "<br>", "<br>"});
    page.AppendText("</html>");
    return n;
}

void FillSearchPage(const Archive& textArchive, const std::vector<SearchRecord>& table,
                    const std::vector<std::string>& words, TokenList& page) {
    page.LoadPage(textArchive, "Search.htm");
    StringList refused;
    refused.LoadLines("ero.txt", textArchive);
    InsertSearchResults(page, words, IsBlocked(words, refused), table);
}
