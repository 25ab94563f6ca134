// The line loader on arbitrary data texts, and what callers then do with the
// list: sort it, look texts up, walk to an index, insert.

#include <algorithm>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "text/ShiftJis.h"
#include "text/StringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StringList lines;
    SplitLines(data, size, lines);
    const std::vector<std::string> texts = lines.Texts();
    FUZZ_CHECK(texts.size() == static_cast<size_t>(lines.count()));
    FUZZ_CHECK(texts.size() <= static_cast<size_t>(std::count(data, data + size, '\r')));
    for (const std::string& text : texts) {
        FUZZ_CHECK(text.find_first_of(std::string("\r\0", 2)) == std::string::npos);
    }

    if (!texts.empty()) {
        const StringNode* found = lines.Find(texts.back());
        FUZZ_CHECK(found != nullptr && EqualsIgnoringAsciiCase(*found->text(), texts.back()));
        const int count = lines.count();
        for (int index : {-1, 0, count / 3, count - 1, count, count + 5}) {
            const StringNode* node = lines.NodeAt(index);
            FUZZ_CHECK(node != nullptr);
            FUZZ_CHECK(node->IsSentinel() == (index >= count));
        }
        const StringNode* inserted =
            lines.InsertAfter(lines.NodeAt(count / 2), texts.front().c_str(), texts.front().size());
        FUZZ_CHECK(*inserted->text() == texts.front());
    }

    lines.Sort();
    std::vector<std::string> sorted = lines.Texts();
    for (size_t i = 1; i < sorted.size(); ++i) {
        FUZZ_CHECK(CompareIgnoringAsciiCase(sorted[i - 1], sorted[i]) <= 0);
    }
    lines.Clear();
    FUZZ_CHECK(lines.count() == 0 && lines.first()->IsSentinel());
    return 0;
}
