#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"

namespace {

// Files must be read as bytes on Windows: no line-end translation, and 0x1A is
// not the end of a file.
TEST(ArchiveOnWindows, ReadsEveryByteAsItStands) {
    std::vector<uint8_t> awkward;
    for (int i = 0; i < 3000; ++i) {
        const uint8_t pattern[] = {'\r', '\n', 0x1A, 0x00, '\n', static_cast<uint8_t>(i)};
        awkward.insert(awkward.end(), std::begin(pattern), std::end(pattern));
    }
    const char* path = "archive-on-windows-test.arc";
    const auto bytes = BuildArchive({{"\r\n.bin", awkward}, {"page.htm", {'<', '\n', '>'}}});
    ASSERT_TRUE(bytes);
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes->data(), 1, bytes->size(), file);
    std::fclose(file);

    Archive archive;
    archive.Open(path);
    ASSERT_TRUE(archive.loaded());
    auto data = archive.ReadEntry("\r\n.BIN", kPlainReaderBuffers);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->decoded, awkward.size());
    EXPECT_EQ(data->bytes, awkward);
    auto page = archive.ReadEntry("PAGE.HTM", kPageReaderBuffers);
    ASSERT_TRUE(page);
    EXPECT_EQ(std::string(page->bytes.begin(), page->bytes.begin() + 3), "<\n>");
    std::remove(path);
}

}  // namespace
