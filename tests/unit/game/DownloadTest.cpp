#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/FakeClock.h"
#include "../../support/MessageRecorder.h"
#include "../../support/TestFiles.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "archive/Lzss.h"
#include "game/Download.h"
#include "game/PluginSetup.h"

namespace {

TEST(Download, WritesExactlyTheDecodedEntryAndZerosWhereItDecodedShort) {
    TempDir dir;
    MessageRecorder messages;
    const std::vector<uint8_t> picture = RandomBytes(5000, 7);
    WriteBytes(dir.File("ex.arc"), *BuildArchive({{"wall01.bmp", picture}}));
    Archive ex;
    ex.Open(dir.File("ex.arc"));
    EXPECT_EQ(ReadDownload(ex, "WALL01.BMP"), picture);
    EXPECT_EQ(ReadDownload(ex, "wall02.bmp"), std::nullopt);

    // An entry whose stream gives 3 of its 8 bytes.
    const std::vector<uint8_t> stream = lzss::Encode(reinterpret_cast<const uint8_t*>("abc"), 3);
    std::vector<uint8_t> file = {1, 0, 0, 0};
    file.resize(36, 0);
    const std::string name = "icon01.ico";
    std::copy(name.begin(), name.end(), file.begin() + 4);
    file[24] = 8;
    file[28] = static_cast<uint8_t>(stream.size());
    file[32] = 36;
    file.insert(file.end(), stream.begin(), stream.end());
    WriteBytes(dir.File("short.arc"), file);
    Archive damaged;
    damaged.Open(dir.File("short.arc"));
    EXPECT_EQ(ReadDownload(damaged, "icon01.ico"),
              (std::vector<uint8_t>{'a', 'b', 'c', 0, 0, 0, 0, 0}));
}

TEST(PluginSetup, TwoPhasesOfStepsPacedByTheClockEndAt99) {
    // Just before the clock wraps around.
    FakeClock clock(0xFFFFFF00u);
    const uint32_t start = clock.now;
    std::vector<std::string> texts;
    std::vector<int> positions;
    std::vector<uint32_t> times;
    RunPluginSetupPhases(
        {[&] { return clock.Read(); }, [&] { clock.Wait(); }},
        [&](const PluginSetupPhase& phase) { texts.emplace_back(phase.text); },
        [&](int position) {
            positions.push_back(position);
            times.push_back(clock.now);
        });
    EXPECT_EQ(texts, (std::vector<std::string>{"プラグインを読みこんでいます･････",
                                               "プラグインをブラウザへ組み込んでいます･････"}));
    ASSERT_EQ(positions.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(positions[static_cast<size_t>(i)], i);
    }
    // Each step comes once more than its phase's step has passed: 51 and
    // 71 ticks of this clock, across its wrap-around.
    uint32_t before = start;
    for (size_t i = 0; i < times.size(); ++i) {
        EXPECT_EQ(static_cast<uint32_t>(times[i] - before), i < 30 ? 51u : 71u) << i;
        before = times[i];
    }
    // The time passed in waits, never by spinning.
    EXPECT_EQ(clock.waits, static_cast<uint32_t>(times.back() - start));
}

}  // namespace

TEST(DownloadName, OfferedCutBetweenCharactersToWhatASaveDialogTakes) {
    const std::string shortName = "note.txt";
    EXPECT_EQ(OfferedDownloadName(shortName), shortName);
    // 254 bytes and a double-byte character: the character does not fit whole.
    const std::string longName = std::string(254, 'a') + "\x82\xa0" + ".txt";
    EXPECT_EQ(OfferedDownloadName(longName), std::string(254, 'a'));
    const std::string exact = std::string(253, 'a') + "\x82\xa0" + "b";
    EXPECT_EQ(OfferedDownloadName(exact), std::string(253, 'a') + "\x82\xa0");
}
