#include "archive/Archive.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "LittleEndian.h"
#include "Message.h"
#include "archive/Lzss.h"
#include "text/ShiftJis.h"

namespace {

// The file's size, leaving the stream at its start; nothing when it cannot be told.
std::optional<uint64_t> StreamSize(std::ifstream& file) {
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    file.seekg(0, std::ios::beg);
    if (!file || end < 0) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(end);
}

}  // namespace

ArchiveEntry ArchiveEntry::FromRecord(const uint8_t* record) {
    ArchiveEntry entry;
    const void* zero = std::memchr(record, 0, kNameField);
    const size_t nameLength =
        zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - record) : kNameField;
    entry.name.assign(reinterpret_cast<const char*>(record), nameLength);
    entry.unpackedSize = ReadLe32(record + 20);
    entry.packedSize = ReadLe32(record + 24);
    entry.dataOffset = ReadLe32(record + 28);
    return entry;
}

void Archive::Open(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    const std::optional<uint64_t> fileSize = file ? StreamSize(file) : std::nullopt;

    uint8_t countBytes[4];
    bool readable = fileSize && *fileSize >= sizeof countBytes &&
                    file.read(reinterpret_cast<char*>(countBytes), sizeof countBytes);
    const uint64_t count = readable ? ReadLe32(countBytes) : 0;
    // A count whose table cannot fit in the file is damage; refuse it before
    // allocating anything, as if the file were missing.
    readable = readable && sizeof countBytes + count * ArchiveEntry::kRecordSize <= *fileSize;

    std::vector<uint8_t> table;
    if (readable) {
        table.resize(count * ArchiveEntry::kRecordSize);
        readable = table.empty() || file.read(reinterpret_cast<char*>(table.data()),
                                              static_cast<std::streamsize>(table.size()));
    }
    if (!readable) {
        ShowMessage(FitMessage(name + "ファイルが見当たりません\n"));
        return;
    }

    entries_.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        entries_.push_back(ArchiveEntry::FromRecord(&table[i * ArchiveEntry::kRecordSize]));
    }
    entryCount_ = static_cast<uint32_t>(count);
    loaded_ = true;
    fileName_ = name;
}

bool Archive::Find(std::string_view name, uint32_t& index) const {
    for (uint32_t i = 0; i < entryCount_; ++i) {
        if (EqualsIgnoringAsciiCase(entries_[i].name, name)) {
            index = i;
            return true;
        }
    }
    return false;
}

size_t Archive::Decompress(const uint8_t* src, size_t srcLen, uint8_t* dst, size_t capacity) {
    return lzss::Decode(src, srcLen, dst, capacity);
}

std::optional<std::vector<uint8_t>> Archive::ReadPacked(uint32_t index, uint32_t slack) const {
    if (index >= entryCount_) {
        return std::nullopt;
    }
    const ArchiveEntry& e = entries_[index];
    std::ifstream file(fileName_, std::ios::binary);
    const std::optional<uint64_t> fileSize = file ? StreamSize(file) : std::nullopt;
    if (!fileSize || uint64_t{e.dataOffset} + e.packedSize > *fileSize) {
        return std::nullopt;
    }
    std::vector<uint8_t> packed(size_t{e.packedSize} + slack);
    file.seekg(e.dataOffset, std::ios::beg);
    if (!file.read(reinterpret_cast<char*>(packed.data()), e.packedSize)) {
        return std::nullopt;
    }
    return packed;
}

std::optional<EntryData> Archive::ReadEntry(std::string_view name,
                                            const ReaderBuffers& buffers) const {
    uint32_t index = 0;
    if (!Find(name, index)) {
        return std::nullopt;
    }
    const ArchiveEntry& e = entries_[index];
    // No stream of packedSize bytes decodes to more than this; a record that
    // says otherwise would only make the reader allocate for nothing.
    if (e.unpackedSize > lzss::MaxDecodedSize(e.packedSize)) {
        return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> packed = ReadPacked(index, buffers.inputSlack);
    if (!packed) {
        return std::nullopt;
    }
    EntryData data;
    data.size = e.unpackedSize;
    data.bytes.assign(size_t{e.unpackedSize} + buffers.outputSlack, 0);
    // The slack is never data: decoding stops at the entry's own size, so a
    // scenario text's closing zero stays in place even if the stream runs long.
    data.decoded = Decompress(packed->data(), e.packedSize, data.bytes.data(), e.unpackedSize);
    // A stream that ends early leaves zeros, not the decoder's scratch.
    std::fill(data.bytes.begin() + static_cast<ptrdiff_t>(data.decoded),
              data.bytes.begin() + e.unpackedSize, uint8_t{0});
    return data;
}
