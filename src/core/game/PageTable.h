#pragma once

#include <string>
#include <vector>

#include "game/SearchRecord.h"

class Archive;
class StringList;

// The world's web: "search.txt" lists each page's address, file name, search
// words and title. Records end with a line holding "□ＮＥＸＴ"; in a record,
// "○" starts a search word, "□" the file name, "△" the address and "☆" the
// title, each running to the end of its line; lines starting "//" before a
// record line are comments.

constexpr size_t kPageTableSlots = 300;

struct PageTableReading {
    std::vector<SearchRecord> records;  // every record in file order, however many
    bool lastRecordTerminated = true;   // false when the file ends inside a record
};

// Reads every record; a last record without its terminator ends with the file.
PageTableReading ReadPageTableRecords(const StringList& lines);

// The page table as the browser holds it: exactly 300 slots, the records in
// file order and empty slots after them; records past the 300th are left out.
std::vector<SearchRecord> ParsePageTable(const StringList& lines);

// The same from entry "search.txt" of the text archive; all slots empty
// without it.
std::vector<SearchRecord> LoadPageTable(const Archive& textArchive);
