#include "game/Download.h"

#include "archive/Archive.h"
#include "text/ShiftJis.h"

std::optional<std::vector<uint8_t>> ReadDownload(const Archive& ex, std::string_view fileName) {
    std::optional<EntryData> entry = ex.ReadEntry(fileName, kPlainReaderBuffers);
    if (!entry) {
        return std::nullopt;
    }
    // The reader's buffer may hold slack after the data; only the data is the file.
    entry->bytes.resize(entry->size);
    return std::move(entry->bytes);
}

std::string_view OfferedDownloadName(std::string_view fileName) {
    return CutAtCharacter(fileName, kOfferedNameBytes);
}
