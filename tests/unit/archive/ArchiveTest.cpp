#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/MessageRecorder.h"
#include "../../support/TestFiles.h"
#include "Message.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "archive/Lzss.h"

namespace {

// A hand-made record: name, unpacked size, packed size, offset.
void PutRecord(std::vector<uint8_t>& file, size_t index, const std::string& name, uint32_t unpacked,
               uint32_t packed, uint32_t offset) {
    const size_t at = 4 + index * 32;
    if (file.size() < at + 32) {
        file.resize(at + 32, 0);
    }
    std::copy_n(name.begin(), std::min<size_t>(name.size(), 20),
                file.begin() + static_cast<ptrdiff_t>(at));
    for (int i = 0; i < 4; ++i) {
        file[at + 20 + static_cast<size_t>(i)] = static_cast<uint8_t>(unpacked >> (8 * i));
        file[at + 24 + static_cast<size_t>(i)] = static_cast<uint8_t>(packed >> (8 * i));
        file[at + 28 + static_cast<size_t>(i)] = static_cast<uint8_t>(offset >> (8 * i));
    }
}

std::vector<uint8_t> CountOnly(uint32_t count) {
    return {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8),
            static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 24)};
}

class ArchiveTest : public ::testing::Test {
  protected:
    // Writes an archive made from `inputs` and opens it.
    void Make(const std::vector<ArchiveInput>& inputs) {
        WriteBytes(path, *BuildArchive(inputs));
        archive.Open(path);
        ASSERT_TRUE(archive.loaded());
    }
    std::string Read(const std::string& name, const ReaderBuffers& buffers = kPlainReaderBuffers) {
        auto data = archive.ReadEntry(name, buffers);
        EXPECT_TRUE(data.has_value()) << name;
        return data ? std::string(data->bytes.begin(), data->bytes.begin() + data->size) : "";
    }

    TempDir dir;
    std::string path = dir.File("Text.arc");
    Archive archive;
    MessageRecorder messages;
};

TEST_F(ArchiveTest, EmptyArchiveOpensAndFindsNothing) {
    WriteBytes(path, CountOnly(0));
    archive.Open(path);
    EXPECT_TRUE(archive.loaded());
    EXPECT_EQ(archive.entryCount(), 0u);
    EXPECT_EQ(archive.fileName(), path);
    uint32_t index = 77;
    EXPECT_FALSE(archive.Find("otop.htm", index));
    EXPECT_EQ(index, 77u);
    EXPECT_TRUE(MessageRecorder::Messages().empty());
}

TEST_F(ArchiveTest, MissingFileIsReportedByName) {
    archive.Open("cg.arc-that-is-not-there");
    EXPECT_FALSE(archive.loaded());
    EXPECT_EQ(archive.fileName(), "");
    ASSERT_EQ(MessageRecorder::Messages().size(), 1u);
    EXPECT_EQ(MessageRecorder::Messages()[0], "cg.arc-that-is-not-thereファイルが見当たりません\n");
    uint32_t index = 0;
    EXPECT_FALSE(archive.Find("anything", index));
    EXPECT_FALSE(archive.ReadEntry("anything", kPlainReaderBuffers));
}

TEST_F(ArchiveTest, MessageForAVeryLongNameStaysWithinItsBuffer) {
    const std::string name(300, 'n');
    archive.Open(name);
    ASSERT_EQ(MessageRecorder::Messages().size(), 1u);
    EXPECT_EQ(MessageRecorder::Messages()[0], std::string(255, 'n'));
}

TEST_F(ArchiveTest, TablesThatCannotFitTheFileAreRefusedAsMissing) {
    const std::vector<std::vector<uint8_t>> damaged = {
        {},                     // no count at all
        {1, 0},                 // a count cut short
        CountOnly(0xFFFFFFFF),  // a count no file could hold
        CountOnly(2),           // two records announced, none there
    };
    for (const auto& bytes : damaged) {
        MessageRecorder::Messages().clear();
        WriteBytes(path, bytes);
        Archive a;
        a.Open(path);
        EXPECT_FALSE(a.loaded());
        EXPECT_EQ(a.entryCount(), 0u);
        ASSERT_EQ(MessageRecorder::Messages().size(), 1u);
        EXPECT_EQ(MessageRecorder::Messages()[0], path + "ファイルが見当たりません\n");
    }
    // One record short by a single byte.
    std::vector<uint8_t> cut = CountOnly(1);
    PutRecord(cut, 0, "a.htm", 0, 0, 36);
    cut.pop_back();
    WriteBytes(path, cut);
    Archive a;
    a.Open(path);
    EXPECT_FALSE(a.loaded());
}

TEST_F(ArchiveTest, FindIgnoresOnlyTheCaseOfAsciiLetters) {
    Make({{"password.txt", Bytes("pw")}, {"Otop.htm", Bytes("home")}});
    uint32_t index = 9;
    EXPECT_TRUE(archive.Find("PASSWORD.TXT", index));
    EXPECT_EQ(index, 0u);
    EXPECT_TRUE(archive.Find("otop.HTM", index));
    EXPECT_EQ(index, 1u);
    EXPECT_FALSE(archive.Find("otop.ht", index));
    EXPECT_FALSE(archive.Find("otop.htmx", index));
    EXPECT_EQ(Read("OTOP.htm"), "home");
}

TEST_F(ArchiveTest, DoubleByteCharactersMustMatchExactly) {
    // "Ａ" is 82 60 and "ａ" 82 81; "ア" is 83 41, whose trail byte is an ASCII 'A'.
    Make({{"\x82\x60.htm", Bytes("wide A")}, {"\x83\x41.htm", Bytes("katakana")}});
    uint32_t index = 0;
    EXPECT_FALSE(archive.Find("\x82\x81.htm", index));
    EXPECT_TRUE(archive.Find("\x82\x60.HTM", index));
    EXPECT_FALSE(archive.Find("\x83\x61.htm", index));  // trail byte 'a' is not folded
    EXPECT_TRUE(archive.Find("\x83\x41.htm", index));
    EXPECT_EQ(index, 1u);
}

TEST_F(ArchiveTest, FirstOfTwoRecordsWithTheSameNameWins) {
    Make({{"a.htm", Bytes("first")}, {"A.HTM", Bytes("second")}, {"a.htm", Bytes("third")}});
    uint32_t index = 5;
    EXPECT_TRUE(archive.Find("a.htm", index));
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(Read("a.htm"), "first");
}

TEST_F(ArchiveTest, NameFieldWithoutTerminatorIsReadToTwentyBytes) {
    std::vector<uint8_t> file = CountOnly(1);
    PutRecord(file, 0, "abcdefghijklmnopqrst", 0, 0, 36);
    WriteBytes(path, file);
    archive.Open(path);
    ASSERT_TRUE(archive.loaded());
    EXPECT_EQ(archive.entry(0).name, "abcdefghijklmnopqrst");
    uint32_t index = 0;
    EXPECT_TRUE(archive.Find("ABCDEFGHIJKLMNOPQRST", index));
}

TEST_F(ArchiveTest, EntriesMayLieAnywhereInTheFile) {
    // Data before the table's end is never assumed: records point backwards and overlap.
    const auto stream = lzss::Encode(reinterpret_cast<const uint8_t*>("shared"), 6);
    std::vector<uint8_t> file = CountOnly(2);
    PutRecord(file, 0, "one.txt", 6, static_cast<uint32_t>(stream.size()), 100);
    PutRecord(file, 1, "two.txt", 6, static_cast<uint32_t>(stream.size()), 100);
    file.resize(100, 0xCC);
    file.insert(file.end(), stream.begin(), stream.end());
    WriteBytes(path, file);
    archive.Open(path);
    EXPECT_EQ(Read("two.txt"), "shared");
    EXPECT_EQ(Read("one.txt"), "shared");
}

TEST_F(ArchiveTest, ReadersGetTheirBufferSizes) {
    Make({{"otop.htm", Bytes("<html>")}, {"tous00.txt", Bytes("line")}, {"empty.txt", {}}});
    auto page = archive.ReadEntry("otop.htm", kPageReaderBuffers);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->size, 6u);
    EXPECT_EQ(page->bytes.size(), 106u);
    EXPECT_EQ(page->decoded, 6u);

    auto scenario = archive.ReadEntry("tous00.txt", kScenarioReaderBuffers);
    ASSERT_TRUE(scenario);
    EXPECT_EQ(scenario->bytes.size(), 5u);
    EXPECT_EQ(scenario->bytes[4], 0);

    auto empty = archive.ReadEntry("empty.txt", kPlainReaderBuffers);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size, 0u);
    EXPECT_EQ(empty->decoded, 0u);
}

TEST_F(ArchiveTest, ScenarioTextStaysTerminatedWhenItsStreamRunsLong) {
    // The record says 3 bytes; the stream holds 8.
    const auto stream = lzss::Encode(reinterpret_cast<const uint8_t*>("abcdefgh"), 8);
    std::vector<uint8_t> file = CountOnly(1);
    PutRecord(file, 0, "tous01.txt", 3, static_cast<uint32_t>(stream.size()), 36);
    file.insert(file.end(), stream.begin(), stream.end());
    WriteBytes(path, file);
    archive.Open(path);
    auto text = archive.ReadEntry("tous01.txt", kScenarioReaderBuffers);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::string(text->bytes.begin(), text->bytes.end()), std::string("abc\0", 4));
}

TEST_F(ArchiveTest, StreamThatDecodesShortLeavesZerosAfterWhatItGave) {
    const auto stream = lzss::Encode(reinterpret_cast<const uint8_t*>("abc"), 3);
    std::vector<uint8_t> file = CountOnly(1);
    PutRecord(file, 0, "short.htm", 10, static_cast<uint32_t>(stream.size()), 36);
    file.insert(file.end(), stream.begin(), stream.end());
    WriteBytes(path, file);
    archive.Open(path);
    auto data = archive.ReadEntry("short.htm", kPageReaderBuffers);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->size, 10u);
    EXPECT_EQ(data->decoded, 3u);
    EXPECT_EQ(std::string(data->bytes.begin(), data->bytes.begin() + 10),
              std::string("abc\0\0\0\0\0\0\0", 10));
}

TEST_F(ArchiveTest, EntryWhoseDataLiesBeyondTheFileIsTreatedAsMissing) {
    std::vector<uint8_t> file = CountOnly(3);
    PutRecord(file, 0, "cut.htm", 10, 20, 100);          // offset past the end
    PutRecord(file, 1, "long.htm", 10, 50, 4 + 3 * 32);  // runs past the end
    PutRecord(file, 2, "huge.htm", 10, 0xFFFFFFFF, 0xFFFFFFF0);
    file.resize(file.size() + 10, 0xFF);
    WriteBytes(path, file);
    archive.Open(path);
    ASSERT_TRUE(archive.loaded());
    for (const char* name : {"cut.htm", "long.htm", "huge.htm"}) {
        EXPECT_FALSE(archive.ReadEntry(name, kPageReaderBuffers)) << name;
    }
    EXPECT_TRUE(MessageRecorder::Messages().empty());
}

TEST_F(ArchiveTest, UnpackedSizeNoStreamCouldReachIsRefused) {
    // Two packed bytes can never give a gigabyte: no reader allocates for it.
    std::vector<uint8_t> file = CountOnly(1);
    PutRecord(file, 0, "liar.bmp", 1u << 30, 2, 36);
    file.push_back(0x00);
    file.push_back(0x00);
    WriteBytes(path, file);
    archive.Open(path);
    EXPECT_FALSE(archive.ReadEntry("liar.bmp", kPlainReaderBuffers));
}

TEST_F(ArchiveTest, EachReadOpensTheFileAgain) {
    Make({{"a.htm", Bytes("before")}});
    // The table stays in memory; the data comes from the file as it is now.
    std::vector<uint8_t> bytes = ReadBytes(path);
    WriteBytes(path, {});
    EXPECT_FALSE(archive.ReadEntry("a.htm", kPlainReaderBuffers));
    WriteBytes(path, bytes);
    EXPECT_EQ(Read("a.htm"), "before");
}

TEST(ArchiveWriter, EntryNamesMustFitTheirField) {
    std::string why;
    EXPECT_TRUE(IsValidEntryName("password.txt", why));
    EXPECT_TRUE(IsValidEntryName(std::string(19, 'x'), why));
    EXPECT_FALSE(IsValidEntryName(std::string(20, 'x'), why));
    EXPECT_NE(why.find("19"), std::string::npos);
    EXPECT_FALSE(IsValidEntryName("", why));
    EXPECT_FALSE(IsValidEntryName(std::string("a\0b", 3), why));
}

}  // namespace
