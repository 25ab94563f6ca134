#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../../support/BmpBuilder.h"
#include "../../support/TestFiles.h"
#include "game/WorldCheck.h"

namespace {

using Texts = std::vector<std::string>;

// A .bmp file of one flat colour; scene pictures are 640 x 480 x 24.
std::vector<uint8_t> Bitmap(int32_t width, int32_t height, uint16_t bits = 24, uint8_t shade = 0) {
    const size_t rows = static_cast<size_t>(height < 0 ? -height : height);
    return MakeBmp(width, height, bits,
                   std::vector<uint8_t>(bmp::Stride(width, bits) * rows, shade));
}

std::vector<uint8_t> Scene(uint8_t shade = 0) {
    return Bitmap(640, 480, 24, shade);
}

// Texts are written here in code page 932 with CR LF, as the game reads them.
std::vector<uint8_t> Lines(const Texts& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\r\n";
    }
    return Bytes(out);
}

// A small world that the checker finds sound; each test breaks it in its own way.
class WorldCheckTest : public ::testing::Test {
  protected:
    WorldCheckTest() {
        Page("otop.htm",
             "<html><head><title>top</title></head><body bgcolor=\"#ffffff\">"
             "<a href=\"search.htm\">search</a><br>"
             "<a href=\"tou0000.htm\">message</a><a href=\"suga00.htm\">note</a><br>"
             "<a href=\"plugin\">plug-in</a><a href=\"Wall01.htm\">wall</a>"
             "<a href=\"icon01.htm\">icon</a><a name=\"here\">anchor</a><br>"
             "<img src=\"logo.jpg\" width=\"10\"><img src=\"photom.bmp\">"
             "<form><input type=\"submit\" name=\"tou0001.htm\" value=\"open\"></form>"
             "<!-- a comment --></body></html>");
        Page("search.htm",
             "<html><body><form><input type=\"text\" name=\"keyword\" size=\"20\">"
             "<input type=\"submit\" name=\"検索ボタン\" value=\"go\"></form><!></body></html>");
        Page("urlmiss.htm", "<html><body>none</body></html>");
        Page("tou0001.htm", "<html><body>locked</body></html>");
        files["Text.arc"]["search.txt"] = Lines({
            "// the pages",
            "△http://a/",
            "□otop.htm",
            "○top",
            "☆Top",
            "□ＮＥＸＴ",
            "△http://a/s",
            "□search.htm",
            "□ＮＥＸＴ",
            "△http://a/t",
            "□tou0001.htm",
            "□ＮＥＸＴ",
        });
        files["Text.arc"]["tous00.txt"] = Lines({
            "# a comment line",
            "［ラベル］",
            "□０００１",
            "あいう",
            "□ＰＡＳＳＷＯＲＤ",
            "",
        });
        files["Text.arc"]["suga00.txt"] = Lines({"□０１００", "メモ"});
        files["Text.arc"]["password.txt"] = Lines({"□００　ひらけ", "□ＥＮＤ"});
        files["cg.arc"]["pict0001m.bmp"] = Scene();
        files["cg.arc"]["pict0001.bmp"] = Scene();
        files["cg.arc"]["pict0100.bmp"] = Scene();
        files["cg.arc"]["title.bmp"] = Scene();
        for (int i = 0; i <= 4; ++i) {
            const std::string n = "0" + std::to_string(i);
            files["cg.arc"]["dm" + n + ".bmp"] = Scene();
            files["cg.arc"]["dm" + n + "a.bmp"] = Scene();
        }
        files["cg.arc"]["photom.bmp"] = Bitmap(8, 8);
        files["cg.arc"]["photo.bmp"] = Bitmap(8, 8);
        files["ex.arc"]["wall01.bmp"] = Bitmap(4, 4);
        files["ex.arc"]["icon01.ico"] = {0, 0, 1, 0};
        files["parts.arc"]["logo.bmp"] = Bitmap(10, 10, 8);
        for (const char* wave : {"title", "0000", "0001", "0002"}) {
            waves[wave] = Bytes(std::string("RIFF\x04\x00\x00\x00WAVE", 12));
        }
    }

    void Page(const std::string& name, const std::string& source) {
        files["Text.arc"][name] = Bytes(source);
    }

    // Writes the world and checks it; each finding as "FILE: REASON".
    Texts Check() {
        for (const auto& [archive, entries] : files) {
            WriteBytes(dir.File(archive), Packed(entries));
        }
        std::filesystem::create_directories(dir.path() / "wave");
        for (const auto& [name, data] : waves) {
            WriteBytes(dir.File("wave/" + name + ".wav"), data);
        }
        Texts out;
        for (const WorldFinding& finding : CheckWorld(dir.path().string())) {
            out.push_back(finding.file + ": " + finding.reason);
        }
        return out;
    }

    using Entries = std::map<std::string, std::vector<uint8_t>>;

    // An archive whose streams hold only literals: packing a dozen scene
    // pictures through the real encoder would take seconds.
    static std::vector<uint8_t> Packed(const Entries& entries) {
        std::vector<uint8_t> out;
        auto put = [&](size_t at, size_t value) {
            for (size_t i = 0; i < 4; ++i) {
                out[at + i] = static_cast<uint8_t>(value >> (8 * i));
            }
        };
        size_t total = 4 + 32 * entries.size();
        for (const auto& entry : entries) {
            total += entry.second.size() * 9 / 8 + 1;
        }
        out.reserve(total);
        out.resize(4 + 32 * entries.size());
        put(0, entries.size());
        size_t record = 4;
        for (const auto& [name, data] : entries) {
            std::copy(name.begin(), name.end(), out.begin() + static_cast<ptrdiff_t>(record));
            const size_t start = out.size();
            for (size_t i = 0; i < data.size(); ++i) {
                if (i % 8 == 0) {
                    out.push_back(0xFF);
                }
                out.push_back(data[i]);
            }
            put(record + 20, data.size());
            put(record + 24, out.size() - start);
            put(record + 28, start);
            record += 32;
        }
        return out;
    }

    TempDir dir;
    std::map<std::string, Entries> files;
    std::map<std::string, std::vector<uint8_t>> waves;
};

// Each expected finding is given by its file and a telling piece of its reason.
void ExpectFindings(const Texts& findings,
                    const std::vector<std::pair<std::string, std::string>>& expected) {
    std::string all;
    for (const std::string& f : findings) {
        all += "\n  " + f;
    }
    EXPECT_EQ(findings.size(), expected.size()) << all;
    for (const auto& [file, fragment] : expected) {
        bool found = false;
        for (const std::string& f : findings) {
            found = found || (f.starts_with(file + ": ") && f.find(fragment) != std::string::npos);
        }
        EXPECT_TRUE(found) << file << ": ..." << fragment << "... not among:" << all;
    }
}

TEST_F(WorldCheckTest, ASoundWorldHasNoFindings) {
    EXPECT_EQ(Check(), Texts{});
}

TEST_F(WorldCheckTest, PagesLeadingNowhere) {
    Page("more.htm",
         "<html><body><ul><li>list</li></ul>"
         "<a href=\"gone.htm\">x</a><a href=otop.htm>y</a>"
         "<a href=\"tou0001.htm\">skips the password</a>"
         "<a href=\"tou0200.htm\">no scenario</a><a href=\"wall02.htm\">no file</a>"
         "<a href=\"a-page-name-too-long.htm\">z</a>"
         "<img src=\"nowhere.gif\"><img src=\"roomm.bmp\"><img src=\"face.png\">"
         "<body background=\"tile.bmp\">"
         "<form><input type=\"submit\" name=\"tou0301.htm\"><input type=\"submit\" "
         "value=\"go\"></form></body></html>");
    files["cg.arc"]["roomm.bmp"] = Bitmap(4, 4);
    files["Text.arc"]["search.txt"] =
        Lines({"△a", "□otop.htm", "□ＮＥＸＴ", "△s", "□search.htm", "□ＮＥＸＴ", "△t",
               "□tou0001.htm", "□ＮＥＸＴ", "△m", "□more.htm", "□ＮＥＸＴ"});
    ExpectFindings(Check(), {
                                {"more.htm", "<ul>, which the engine does not know"},
                                {"more.htm", "<li>, which"},
                                {"more.htm", "</li>, which"},
                                {"more.htm", "</ul>, which"},
                                {"more.htm", "links to \"gone.htm\", which Text.arc does not hold"},
                                {"more.htm", "value of \"href\" without double quotes"},
                                {"more.htm", "links to a page without a name"},
                                {"more.htm", "straight to the protected page \"tou0001.htm\""},
                                {"more.htm", "no scenario text \"tous02.txt\""},
                                {"more.htm", "ex.arc has no \"wall02.bmp\""},
                                {"more.htm", "longer than 19 bytes"},
                                {"more.htm", "\"nowhere.bmp\", which is in no picture archive"},
                                {"more.htm", "\"room.bmp\" with the plug-in installed"},
                                {"more.htm", "\"face.png\", a name the game cannot load"},
                                {"more.htm", "\"tile.bmp\", which is in no picture archive"},
                                {"more.htm", "protected page \"tou0301.htm\", which Text.arc"},
                                {"more.htm", "submit button that opens a page without a name"},
                                {"password.txt", "slot 3 has no accepted text, but more.htm"},
                            });
}

TEST_F(WorldCheckTest, TablesNestedDeeperThanTheEngineLaysOut) {
    auto nested = [](int depth) {
        std::string html;
        for (int i = 0; i < depth; ++i) {
            html += "<table><tr><td width=\"9\">";
        }
        for (int i = 0; i < depth; ++i) {
            html += "</td></tr></table>";
        }
        return html;
    };
    // Eight levels, twice over, are fine; nine are not.
    Page("urlmiss.htm", "<html><body>" + nested(8) + nested(8) + "</body></html>");
    EXPECT_EQ(Check(), Texts{});
    Page("urlmiss.htm", "<html><body>" + nested(8) + nested(9) + "</body></html>");
    ExpectFindings(Check(), {{"urlmiss.htm", "nests tables 9 deep; the game lays out 8 levels"}});
}

TEST_F(WorldCheckTest, PageTableAsTheGameReadsIt) {
    Page("lost.htm", "<html></html>");
    files["Text.arc"]["search.txt"] = Lines({
        "□ＮＥＸＴ",  // an empty record is fine
        "△http://a/",
        "□otop.htm",
        "□ＮＥＸＴ",
        "□search.htm",
        "□ＮＥＸＴ",  // no address
        "△http://a/x",
        "□ghost.htm",
        "□ＮＥＸＴ",
        // A comment right before the terminator makes the game take the
        // terminator as a line of the record.
        "△http://a/t",
        "□tou0001.htm",
        "// oops",
        "□ＮＥＸＴ",
    });
    ExpectFindings(Check(), {
                                {"search.txt", "(search.htm) has no address"},
                                {"search.txt", "names the page \"ghost.htm\""},
                                {"search.txt", "names the page \"ＮＥＸＴ\""},
                                {"search.txt", "last record has no □ＮＥＸＴ line"},
                                {"lost.htm", "has no record in search.txt"},
                                {"tou0001.htm", "has no record in search.txt"},
                            });
}

TEST_F(WorldCheckTest, ScenarioTextsAndTheirPictures) {
    files["Text.arc"]["tous00.txt"] = Lines({
        "□０００２",      // missing, and so is its plug-in twin
        "□０００３",      // the wrong size
        "画□０００１",    // text before the marker
        "□００",          // too short
        "あいうabc",      // half-width characters in a typed line
        "［ラベルabc］",  // labels are drawn whole
        "□ＰＡＳＳＷＯＲＤ",
    });
    files["Text.arc"]["suga03.txt"] = Lines({"□ＰＡＳＳＷＯＲＤ"});
    files["cg.arc"]["pict0003m.bmp"] = Bitmap(640, -480);
    files["cg.arc"]["pict0003.bmp"] = Bitmap(320, 240);
    files["cg.arc"].erase("pict0100.bmp");
    ExpectFindings(Check(), {
                                {"tous00.txt", "line 1 shows the picture \"pict0002m.bmp\""},
                                {"tous00.txt", "but that is in no picture archive"},
                                {"pict0003m.bmp", "it is 640 x -480 x 24 top-down"},
                                {"pict0003.bmp", "it is 320 x 240 x 24"},
                                {"tous00.txt", "line 3: a picture line"},
                                {"tous00.txt", "line 4: a picture line"},
                                {"tous00.txt", "line 5 holds a single-byte character at byte 6"},
                                {"pict0100.bmp", "the picture window needs"},
                                {"suga00.txt", "\"pict0100.bmp\", which is in no"},
                                {"password.txt", "slot 3 has no accepted text, but suga03.txt"},
                            });
}

TEST_F(WorldCheckTest, TitlePictures) {
    files["cg.arc"]["dm01.bmp"] = Bitmap(640, 400);
    // The strip may change; anything above it may not.
    std::vector<uint8_t> strip = Scene();
    strip[54 + 640 * 3 * 80 - 1] = 0xFF;
    files["cg.arc"]["dm02a.bmp"] = strip;
    std::vector<uint8_t> above = Scene();
    above[54 + 640 * 3 * 80] = 0xFF;
    files["cg.arc"]["dm03a.bmp"] = above;
    files["cg.arc"].erase("dm04a.bmp");
    ExpectFindings(Check(), {
                                {"dm01.bmp", "it is 640 x 400 x 24"},
                                {"dm03a.bmp", "differs from \"dm03.bmp\" above its bottom 80 rows"},
                                {"dm04a.bmp", "the title screen needs the picture"},
                            });
}

TEST_F(WorldCheckTest, MissingPartsOfTheWorld) {
    files.erase("ex.arc");
    waves.erase("0001");
    waves["0002"] = Bytes("not a wave file");
    files["Text.arc"].erase("urlmiss.htm");
    files["Text.arc"].erase("password.txt");
    Page("search.htm",
         "<html><body><form><input type=\"text\" name=\"words\"></form></body></html>");
    Page("umaker00.htm", "<html></html>");
    Page("umaker01.htm", "<html></html>");
    files["Text.arc"]["search.txt"] = Lines(
        {"△a", "□otop.htm", "□ＮＥＸＴ", "△s", "□search.htm", "□ＮＥＸＴ", "△t", "□tou0001.htm",
         "□ＮＥＸＴ", "△u", "□umaker00.htm", "□ＮＥＸＴ", "△v", "□umaker01.htm", "□ＮＥＸＴ"});
    ExpectFindings(Check(), {
                                {"ex.arc", "is missing"},
                                {"urlmiss.htm", "is missing from Text.arc"},
                                {"umaker00.htm", "replaced by \"umaker02.htm\""},
                                {"umaker00.htm", "replaced by \"umaker06.htm\""},
                                {"umaker00.htm", "replaced by \"umaker03.htm\""},
                                {"umaker00.htm", "replaced by \"umaker04.htm\""},
                                {"umaker00.htm", "replaced by \"umaker05.htm\""},
                                {"otop.htm", "ex.arc has no \"wall01.bmp\""},
                                {"otop.htm", "ex.arc has no \"icon01.ico\""},
                                {"search.htm", "no insertion mark <!>"},
                                {"search.htm", "no submit button"},
                                {"search.htm", "no text field whose name contains \"keyword\""},
                                {"password.txt", "is missing"},
                                {"wave/0001.wav", "is missing"},
                                {"wave/0002.wav", "is not a RIFF wave file"},
                            });
}

TEST_F(WorldCheckTest, ArchiveEntryNames) {
    files["parts.arc"]["LOGO.BMP"] = Bitmap(2, 2);
    Texts findings = Check();
    ExpectFindings(findings, {{"logo.bmp", "appears twice in parts.arc"}});
}

}  // namespace
