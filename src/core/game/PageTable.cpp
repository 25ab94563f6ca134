#include "game/PageTable.h"

#include <array>
#include <string_view>

#include "text/ShiftJis.h"
#include "text/StringList.h"

namespace {

constexpr std::string_view kTerminator = "□ＮＥＸＴ";

bool IsTerminator(const StringNode* node) {
    return ContainsCharacters(*node->text(), kTerminator);
}

void ApplyMarkers(std::string_view line, SearchRecord& record) {
    static constexpr std::array<std::string_view, 4> kMarkers = {"○", "□", "△", "☆"};
    for (size_t m = 0; m < kMarkers.size(); ++m) {
        const size_t at = FindCharacters(line, kMarkers[m]);
        if (at == std::string_view::npos) {
            continue;
        }
        std::string value(line.substr(at + kMarkers[m].size()));
        switch (m) {
            case 0:
                record.keywords.push_back(std::move(value));
                break;
            case 1:
                record.fileName = std::move(value);
                break;
            case 2:
                record.address = std::move(value);
                break;
            default:
                record.title = std::move(value);
                break;
        }
    }
}

}  // namespace

PageTableReading ReadPageTableRecords(const StringList& lines) {
    PageTableReading reading;
    const StringNode* node = lines.first();
    while (!node->IsSentinel()) {
        if (IsTerminator(node)) {
            // A terminator where a record should begin: an empty record.
            reading.records.emplace_back();
            node = node->next();
            continue;
        }
        SearchRecord record;
        reading.lastRecordTerminated = false;
        for (;;) {
            // Comments are skipped only before a line that is then taken as
            // part of the record, even a terminator.
            while (!node->IsSentinel() && node->text()->starts_with("//")) {
                node = node->next();
            }
            if (node->IsSentinel()) {
                break;
            }
            ApplyMarkers(*node->text(), record);
            node = node->next();
            if (node->IsSentinel()) {
                break;
            }
            if (IsTerminator(node)) {
                reading.lastRecordTerminated = true;
                node = node->next();
                break;
            }
        }
        reading.records.push_back(std::move(record));
    }
    return reading;
}

std::vector<SearchRecord> ParsePageTable(const StringList& lines) {
    std::vector<SearchRecord> table = ReadPageTableRecords(lines).records;
    table.resize(kPageTableSlots);
    return table;
}

std::vector<SearchRecord> LoadPageTable(const Archive& textArchive) {
    StringList lines;
    lines.LoadLines("search.txt", textArchive);
    return ParsePageTable(lines);
}
