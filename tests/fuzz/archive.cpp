// Archive files as the game opens them: the entry table, then every entry
// read through each reader's buffers and through the raw packed data.

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "archive/Archive.h"
#include "archive/Lzss.h"
#include "support/ReferenceLzss.h"
#include "text/ShiftJis.h"

namespace {

constexpr uint32_t kMaxEntriesRead = 64;

void CheckEntry(const Archive& archive, uint32_t index, const uint8_t* file, size_t fileSize) {
    const ArchiveEntry& entry = archive.entry(index);
    FUZZ_CHECK(entry.name.size() <= ArchiveEntry::kNameField);
    FUZZ_CHECK(entry.name.find('\0') == std::string::npos);

    // The reader gets the first entry of that name.
    uint32_t found = UINT32_MAX;
    FUZZ_CHECK(archive.Find(entry.name, found));
    FUZZ_CHECK(found <= index && EqualsIgnoringAsciiCase(archive.entry(found).name, entry.name));
    const ArchiveEntry& read = archive.entry(found);

    const std::optional<std::vector<uint8_t>> packed = archive.ReadPacked(found, 5);
    const bool inside = uint64_t{read.dataOffset} + read.packedSize <= fileSize;
    FUZZ_CHECK(packed.has_value() == inside);
    if (packed) {
        FUZZ_CHECK(packed->size() == size_t{read.packedSize} + 5);
        FUZZ_CHECK(std::equal(file + read.dataOffset, file + read.dataOffset + read.packedSize,
                              packed->begin()));
    }

    for (const ReaderBuffers& buffers :
         {kPageReaderBuffers, kScenarioReaderBuffers, kPlainReaderBuffers}) {
        const std::optional<EntryData> data = archive.ReadEntry(entry.name, buffers);
        if (!data) {
            FUZZ_CHECK(!packed || read.unpackedSize > lzss::MaxDecodedSize(read.packedSize));
            continue;
        }
        FUZZ_CHECK(packed.has_value());
        FUZZ_CHECK(data->size == read.unpackedSize);
        FUZZ_CHECK(data->bytes.size() == size_t{data->size} + buffers.outputSlack);
        FUZZ_CHECK(data->decoded <= data->size);
        // What the stream did not give, and the slack, are zeros.
        FUZZ_CHECK(std::all_of(data->bytes.begin() + static_cast<ptrdiff_t>(data->decoded),
                               data->bytes.end(), [](uint8_t b) { return b == 0; }));
        std::vector<uint8_t> expected(data->size);
        const size_t n =
            reference::Decode(packed->data(), read.packedSize, expected.data(), expected.size());
        FUZZ_CHECK(n == data->decoded);
        FUZZ_CHECK(std::equal(expected.begin(), expected.begin() + static_cast<ptrdiff_t>(n),
                              data->bytes.begin()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QuietMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = Scratch().File("fuzz.arc");
    WriteFile(path, data, size);

    Archive archive;
    archive.Open(path);
    if (!archive.loaded()) {
        FUZZ_CHECK(archive.entryCount() == 0);
        return 0;
    }
    FUZZ_CHECK(4 + uint64_t{archive.entryCount()} * ArchiveEntry::kRecordSize <= size);
    const uint32_t count = std::min(archive.entryCount(), kMaxEntriesRead);
    for (uint32_t i = 0; i < count; ++i) {
        CheckEntry(archive, i, data, size);
    }
    // A name no entry has finds nothing and leaves the index alone.
    uint32_t index = 7;
    if (!archive.Find("no such entry name!", index)) {
        FUZZ_CHECK(index == 7);
    }
    return 0;
}
