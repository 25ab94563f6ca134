// The page table and the search on arbitrary texts: the input is the text of
// "search.txt", then that of "ero.txt", then the search text, separated by
// zero bytes.

#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "game/PageTable.h"
#include "game/Search.h"
#include "html/TokenList.h"
#include "text/StringList.h"

namespace {

// The next part of the input up to a zero byte (or its end).
std::string_view NextPart(std::string_view& rest) {
    const size_t end = rest.find('\0');
    const std::string_view part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return part;
}

void Lines(std::string_view text, StringList& out) {
    SplitLines(reinterpret_cast<const uint8_t*>(text.data()), text.size(), out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietMessages();
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    StringList tableLines;
    Lines(NextPart(rest), tableLines);
    StringList refused;
    Lines(NextPart(rest), refused);
    const std::string_view text = rest;

    const std::vector<SearchRecord> table = ParsePageTable(tableLines);
    FUZZ_CHECK(table.size() == kPageTableSlots);

    std::vector<std::string> words;
    const int count = SplitKeywords(text, words);
    FUZZ_CHECK(count == -1 || count == static_cast<int>(words.size()));
    FUZZ_CHECK(words.size() <= static_cast<size_t>(kMaxKeywords));
    for (size_t i = 1; i < words.size(); ++i) {
        // Only the first word may be empty, and no word holds a separator.
        FUZZ_CHECK(!words[i].empty());
        FUZZ_CHECK(words[i].find(' ') == std::string::npos);
    }
    if (count < 0) {
        return 0;
    }
    TokenList page;
    page.AppendText("<html>");
    page.AppendText("<!>");
    const int before = page.count();
    const int results = InsertSearchResults(page, words, IsBlocked(words, refused), table);
    FUZZ_CHECK(results >= 0 && results <= kMaxKeywords * static_cast<int>(kPageTableSlots));
    // Six tokens a result, the count and its breaks, and the end of the page.
    FUZZ_CHECK(results == 0 || page.count() == before + 6 * results + 5 + 1);
    return 0;
}
