#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One 32-byte record of an archive's entry table.
struct ArchiveEntry {
    static constexpr size_t kRecordSize = 32;
    static constexpr size_t kNameField = 20;

    std::string name;  // up to the first zero byte of the 20-byte field
    uint32_t unpackedSize = 0;
    uint32_t packedSize = 0;
    uint32_t dataOffset = 0;

    static ArchiveEntry FromRecord(const uint8_t* record);
};

// What a reader allocates beyond the entry's sizes. The slack is never data.
struct ReaderBuffers {
    uint32_t inputSlack = 0;
    uint32_t outputSlack = 0;
};

// Pages and line-oriented data texts.
constexpr ReaderBuffers kPageReaderBuffers{100, 100};
// Scenario texts: one more byte, zero, so that the text ends there.
constexpr ReaderBuffers kScenarioReaderBuffers{0, 1};
// Downloads and pictures.
constexpr ReaderBuffers kPlainReaderBuffers{0, 0};

// One decoded entry as a reader receives it.
struct EntryData {
    std::vector<uint8_t> bytes;  // size + the reader's slack; zero where nothing was decoded
    uint32_t size = 0;           // the entry's unpacked size: what the reader counts as data
    size_t decoded = 0;          // what the stream produced; less than size when it is damaged
};

// An archive file: a count, a table of 32-byte records, and each entry's LZSS
// stream at the offset its record gives. The table is read once; every entry
// read opens the file again.
class Archive {
  public:
    Archive() = default;
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    Archive(Archive&&) = default;
    Archive& operator=(Archive&&) = default;
    virtual ~Archive() = default;

    // Reads the table. A file that cannot be opened, or whose table cannot fit
    // in it, shows "<name>ファイルが見当たりません" and leaves the archive empty.
    void Open(const std::string& name);

    // First entry (lowest index) whose name matches, ignoring the case of ASCII
    // letters only. Leaves index untouched when nothing matches.
    bool Find(std::string_view name, uint32_t& index) const;

    // Decodes one LZSS stream; see lzss::Decode.
    static size_t Decompress(const uint8_t* src, size_t srcLen, uint8_t* dst, size_t capacity);

    // The shared reading sequence: find, read the packed data, decode. Nothing
    // when the entry is missing or damaged beyond use (its data lies outside the
    // file, or its unpacked size could not come from its packed data).
    std::optional<EntryData> ReadEntry(std::string_view name, const ReaderBuffers& buffers) const;

    // The packed bytes of entry `index` followed by `slack` unused bytes, or
    // nothing when the file cannot be read or the data lies outside it.
    std::optional<std::vector<uint8_t>> ReadPacked(uint32_t index, uint32_t slack = 0) const;

    const std::string& fileName() const { return fileName_; }
    uint32_t entryCount() const { return entryCount_; }
    bool loaded() const { return loaded_; }
    const ArchiveEntry& entry(uint32_t index) const { return entries_[index]; }

  private:
    std::string fileName_;
    uint32_t entryCount_ = 0;
    bool loaded_ = false;
    std::vector<ArchiveEntry> entries_;
};
