// The password table on arbitrary password.txt texts.

#include <set>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "game/PasswordTable.h"
#include "text/StringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StringList lines;
    SplitLines(data, size, lines);
    const PasswordLists lists = ParsePasswordLines(lines);
    const std::vector<std::string> texts = lines.Texts();
    for (const std::vector<std::string>& accepted : lists) {
        for (const std::string& password : accepted) {
            // Every accepted text is the end of one of the lines.
            bool tail = false;
            for (const std::string& line : texts) {
                tail = tail || std::string_view(line).ends_with(password);
            }
            FUZZ_CHECK(tail);
        }
    }
    return 0;
}
