#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../../support/TestFiles.h"
#include "../../support/VelplayReportKeys.h"
#include "Cp932Text.h"
#include "Json.h"
#include "archive/Archive.h"
#include "game/SaveFile.h"

#ifndef VELPLAY_PATH
#error "VELPLAY_PATH names the velplay program under test"
#endif
#ifndef VELMORA_WORLD_DIR
#error "VELMORA_WORLD_DIR names the demo world built by make data"
#endif

namespace {

// Sources compile to code page 932; what velplay reads and writes is UTF-8.
std::string U8(std::u8string_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

TEST(VelplayText, JsonTextEscapesAnyBytes) {
    // Quotes, backslashes and control characters are escaped; "あ" and the
    // half-width "ｱ" convert; a byte that starts nothing, an unassigned pair and a lead
    // byte without its trail become U+FFFD without swallowing what follows.
    const std::string text = std::string("a\"b\\c\x01\n\t\x7f") + "\x82\xa0\xb1" + "\xff" +
                             "\x85\x40" + "\x81\n" + std::string(1, '\0') + "\x81";
    EXPECT_EQ(JsonText(text), U8(u8"\"a\\\"b\\\\c\\u0001\\n\\t\\u007fあｱ\uFFFD\uFFFD\uFFFD\\n"
                                 u8"\\u0000\uFFFD\""));
    EXPECT_EQ(JsonText(""), "\"\"");
}

TEST(VelplayText, CommandsMustBeUtf8WithACodePage932Form) {
    EXPECT_EQ(Utf8ToCp932(U8(u8"answer 真壁　修")), "answer \x90\x5e\x95\xc7\x81\x40\x8f\x43");
    EXPECT_EQ(Cp932ToUtf8("answer \x90\x5e\x95\xc7\x81\x40\x8f\x43"), U8(u8"answer 真壁　修"));
    EXPECT_FALSE(Utf8ToCp932("answer \xc3"));              // cut off
    EXPECT_FALSE(Utf8ToCp932(U8(u8"answer \U0001F600")));  // no such character
}

// One report line, parsed strictly: a flat object whose values are numbers,
// strings, null, arrays of strings or of arrays of strings, or objects of
// such values.
struct Report {
    std::map<std::string, std::string> values;   // strings unescaped; "null" for null
    std::map<std::string, std::string> members;  // of objects, as "key.member"
    std::vector<std::string> pictures;
    std::vector<std::vector<std::string>> favourites;

    const std::string& operator[](const std::string& key) const {
        static const std::string missing = "<missing>";
        auto found = values.find(key);
        if (found != values.end()) {
            return found->second;
        }
        found = members.find(key);
        return found != members.end() ? found->second : missing;
    }
    int Number(const std::string& key) const { return std::atoi((*this)[key].c_str()); }
};

class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    std::optional<Report> Object() {
        Report report;
        if (!Members(report, "") || at_ != text_.size()) {
            return std::nullopt;
        }
        return report;
    }

  private:
    bool Members(Report& report, const std::string& prefix) {
        if (!Take('{')) {
            return false;
        }
        do {
            std::optional<std::string> key = String();
            if (!key || !Take(':')) {
                return false;
            }
            const std::string name = prefix + *key;
            if (Peek() == '{') {
                if (!prefix.empty() || !Members(report, name + ".")) {
                    return false;
                }
                report.values[name] = "{}";
            } else if (Peek() == '[') {
                std::optional<std::vector<std::vector<std::string>>> rows = Strings(true);
                if (!rows) {
                    return false;
                }
                if (*key == "pictures") {
                    report.pictures = rows->empty() ? std::vector<std::string>{} : rows->front();
                } else {
                    report.favourites = *rows;
                }
                report.values[name] = "[]";
            } else if (Peek() == '"') {
                std::optional<std::string> value = String();
                if (!value) {
                    return false;
                }
                (prefix.empty() ? report.values : report.members)[name] = *value;
            } else {
                const size_t start = at_;
                while (at_ < text_.size() && text_[at_] != ',' && text_[at_] != '}') {
                    ++at_;
                }
                (prefix.empty() ? report.values : report.members)[name] =
                    std::string(text_.substr(start, at_ - start));
            }
        } while (Take(','));
        return Take('}');
    }

    // An array of strings (one row), or with `nested` also one of arrays of
    // strings (a row each).
    std::optional<std::vector<std::vector<std::string>>> Strings(bool nested) {
        if (!Take('[')) {
            return std::nullopt;
        }
        std::vector<std::vector<std::string>> rows;
        if (nested && Peek() == ']') {
            // No rows.
        } else if (nested && Peek() == '[') {
            do {
                std::optional<std::vector<std::vector<std::string>>> row = Strings(false);
                if (!row) {
                    return std::nullopt;
                }
                rows.push_back(row->front());
            } while (Take(','));
        } else {
            rows.emplace_back();
            while (Peek() == '"') {
                std::optional<std::string> item = String();
                if (!item) {
                    return std::nullopt;
                }
                rows.back().push_back(*item);
                if (!Take(',')) {
                    break;
                }
            }
        }
        if (!Take(']')) {
            return std::nullopt;
        }
        return rows;
    }

    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    bool Take(char c) {
        if (Peek() != c) {
            return false;
        }
        ++at_;
        return true;
    }
    std::optional<std::string> String() {
        if (!Take('"')) {
            return std::nullopt;
        }
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            char c = text_[at_++];
            if (static_cast<unsigned char>(c) < 0x20) {
                return std::nullopt;
            }
            if (c == '\\') {
                c = Peek();
                ++at_;
                if (c == 'n') {
                    c = '\n';
                } else if (c == 'u') {
                    out += "\\u" + std::string(text_.substr(at_, 4));
                    at_ += 4;
                    continue;
                }
            }
            out += c;
        }
        if (!Take('"')) {
            return std::nullopt;
        }
        return out;
    }

    std::string_view text_;
    size_t at_ = 0;
};

std::string WorldDir() {
    const char* given = std::getenv("VELMORA_WORLD");
    return given != nullptr ? given : VELMORA_WORLD_DIR;
}

class VelplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(WorldDir() + "/Text.arc"))
            << "the demo world is not built in " << WorldDir() << ": run make data";
    }

    // Plays `commands` in one velplay process; one report per command.
    std::vector<Report> Play(const std::vector<std::string>& commands,
                             const std::string& options = "",
                             const std::string& world = WorldDir()) {
        std::string input;
        for (const std::string& command : commands) {
            input += command + "\n";
        }
        WriteBytes(dir.File("input.txt"), Bytes(input));
        const std::string command = "'" VELPLAY_PATH "' '" + world + "' " + options + " <'" +
                                    dir.File("input.txt") + "' >'" + dir.File("out.txt") + "'";
        const int raw = std::system(command.c_str());
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        const std::vector<uint8_t> out = ReadBytes(dir.File("out.txt"));
        std::string_view rest(reinterpret_cast<const char*>(out.data()), out.size());
        std::vector<Report> reports;
        while (!rest.empty()) {
            const size_t end = rest.find('\n');
            const std::string_view line = rest.substr(0, end);
            std::optional<Report> report = JsonReader(line).Object();
            EXPECT_TRUE(report) << "not a report: " << line;
            if (report) {
                for (const std::string_view key : kVelplayReportKeys) {
                    EXPECT_EQ(report->values.count(std::string(key)), 1u)
                        << key << " missing in " << line;
                }
                EXPECT_EQ(report->values.size(), kVelplayReportKeys.size()) << line;
                reports.push_back(*report);
            }
            rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
        }
        EXPECT_EQ(reports.size(), commands.size());
        EXPECT_EQ(status, 0);
        return reports;
    }

    TempDir dir;
    int status = -1;
};

// Commands of a chapter of the story and the stage it ends in; every command
// before the last one leaves the stage where it was.
struct Chapter {
    const char* what;
    std::vector<std::string> commands;
    int stage;
};

// Stops at the first chapter that goes wrong: the rest would only repeat it.
void PlayChapters(const std::vector<Chapter>& chapters, const std::vector<Report>& reports,
                  int stageBefore) {
    size_t at = 0;
    for (const Chapter& chapter : chapters) {
        bool right = true;
        for (size_t i = 0; i < chapter.commands.size() && at < reports.size(); ++i, ++at) {
            const int expected = i + 1 == chapter.commands.size() ? chapter.stage : stageBefore;
            EXPECT_EQ(reports[at].Number("stage"), expected)
                << chapter.what << ", after " << chapter.commands[i];
            EXPECT_EQ(reports[at]["error"], "null") << chapter.commands[i];
            right =
                right && reports[at].Number("stage") == expected && reports[at]["error"] == "null";
        }
        if (!right) {
            return;
        }
        stageBefore = chapter.stage;
    }
}

std::vector<std::string> Commands(const std::vector<Chapter>& chapters) {
    std::vector<std::string> all;
    for (const Chapter& chapter : chapters) {
        all.insert(all.end(), chapter.commands.begin(), chapter.commands.end());
    }
    return all;
}

const std::string kRefused = U8(u8"パスワードが違います。");
const std::string kAccepted = U8(u8"パスワードを確認しました。今後はパスワードの入力は不要です。");

TEST_F(VelplayTest, PlaysTheDemoStoryToTheEndAcrossASave) {
    const std::string save = dir.File("velmora.dat");
    const std::vector<Chapter> first = {
        {"the fifteen notes",
         {"click sugatop.htm", "click suga00.htm",  "click suga01.htm",  "click suga09.htm",
          "click sugad01.htm", "click suga02.htm",  "click suga03.htm",  "click suga04.htm",
          "click suga05.htm",  "click sugad02.htm", "click suga06.htm",  "click suga07.htm",
          "click suga08.htm",  "click suga10.htm",  "click sugad03.htm", "click suga11.htm",
          "click suga12.htm",  "click suga13.htm",  "click sugatop.htm", "click kiroku.htm",
          "click suga14.htm"},
         1},
        {"ten keys, none moving the stage",
         {"click tou0000.htm",
          "answer wrong",
          U8(u8"answer きりみん"),
          "click tou0100.htm",
          "cancel",
          "click tou0100.htm",
          "answer umineko",
          "click tou0200.htm",
          "answer goro",
          "click tou0300.htm",
          "answer shirasaki",
          "click tou0400.htm",
          "answer 0707",
          "click kirokuin.htm",
          "submit tou0001.htm",
          "back",
          "submit tou0501.htm",
          "answer yuri",
          "click kiroku.htm",
          "click tou0700.htm",
          "answer higurashi",
          "click tou0800.htm",
          "answer shiroyami",
          "click tou0900.htm",
          "answer kiriyomi",
          "click tou1000.htm",
          U8(u8"answer 白い沈黙")},
         1},
        {"the plug-in and the photo page",
         {"plugin", "open ipan52.htm", "open ipan52.htm", "open ipan52.htm"},
         1},
        {"the old laboratory", {"open omaker00.htm", "click usyo.htm"}, 2},
    };
    const std::vector<Report> one = Play(Commands(first), "--save '" + save + "'");
    ASSERT_EQ(one.size(), Commands(first).size());
    PlayChapters(first, one, 0);

    // Notes play in place; each scene fades in its picture.
    EXPECT_EQ(one[1]["page"], "sugatop.htm");
    EXPECT_EQ(one[1]["scene"], "suga00.txt");
    EXPECT_EQ(one[1].pictures, (std::vector<std::string>{"pict0100.bmp"}));
    EXPECT_EQ(one[20]["notesRead"], "111111111111111");
    EXPECT_EQ(one[19]["notesRead"], "111111111111110");

    // A record stops at its prompt; a wrong answer keeps it open, a right one
    // plays the rest of the scene.
    const Report* r = &one[21];
    EXPECT_EQ((*r)["prompt"], "0");
    EXPECT_EQ((*r)["scene"], "tous00.txt");
    EXPECT_EQ(r->pictures, (std::vector<std::string>{"pict0000m.bmp"}));
    r = &one[22];
    EXPECT_EQ((*r)["prompt"], "0");
    EXPECT_EQ((*r)["message"], kRefused);
    EXPECT_EQ((*r)["passwordSolved"], "0000000000000000");
    r = &one[23];
    EXPECT_EQ((*r)["prompt"], "null");
    EXPECT_EQ((*r)["scene"], "tous00.txt");
    EXPECT_EQ((*r)["message"], kAccepted);
    EXPECT_EQ((*r)["passwordSolved"], "1000000000000000");
    // Cancel ends the scene and solves nothing.
    EXPECT_EQ(one[25]["prompt"], "null");
    EXPECT_EQ(one[25]["scene"], "tous01.txt");
    EXPECT_EQ(one[25]["passwordSolved"], "1000000000000000");
    EXPECT_EQ(one[25]["message"], "null");
    // A solved protected page opens at once; an unsolved one asks first.
    EXPECT_EQ(one[35]["page"], "tou0001.htm");
    EXPECT_EQ(one[35]["prompt"], "null");
    EXPECT_EQ(one[37]["page"], "kirokuin.htm");
    EXPECT_EQ(one[37]["prompt"], "5");
    EXPECT_EQ(one[38]["page"], "tou0501.htm");
    EXPECT_EQ(one[47]["passwordSolved"], "1111110111100000");
    // The third open of the photo page after the plug-in shows the diary.
    EXPECT_EQ(one[48]["pluginMissing"], "0");
    EXPECT_EQ(one[49]["page"], "ipan52.htm");
    EXPECT_EQ(one[50]["page"], "ipan52.htm");
    EXPECT_EQ(one[51]["page"], "killerd.htm");
    EXPECT_EQ(one[51]["killerCounter"], "3");
    EXPECT_EQ(one[52]["page"], "omaker01.htm");
    EXPECT_EQ(one[53]["page"], "usyo.htm");
    EXPECT_EQ(one[53]["sound"], "wave\\0002.wav");

    // The save is the game's own, visited pages included.
    const std::vector<uint8_t> bytes = ReadBytes(save);
    const std::optional<SaveData> saved = DecodeSaveFile(bytes.data(), bytes.size());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->state.disclosureStage, 2u);
    EXPECT_EQ(saved->state.pageCounter, 1u);
    EXPECT_EQ(saved->visited.front(), "otop.htm");
    EXPECT_EQ(saved->visited.back(), "usyo.htm");

    // A second process goes on from the save, at its home page, which counts.
    const std::vector<Chapter> second = {
        {"five pages",
         {"click olinks.htm", "click machi.htm", "click machihis.htm", "click machi.htm"},
         3},
        {"five more",
         {"click kankou.htm", "click olinks.htm", "click umaker00.htm", "click olinks.htm",
          "click shinbun.htm"},
         4},
        {"the eleventh key, then the twelfth at stage 4",
         {"click sugatop.htm", "click kiroku.htm", "click tou0600.htm", "answer KM307",
          "open umaker00.htm", "click upress.htm", "open kiroku.htm", "click tou1100.htm",
          U8(u8"answer しずく")},
         5},
        {"two keys, five pages",
         {"click tou1200.htm", "answer 0710", "click tou1300.htm", U8(u8"answer 真壁"),
          "click sugatop.htm", "click ohome.htm", "click ipan07.htm", "click ohome.htm",
          "click ipan45.htm", "open umaker00.htm"},
         6},
        {"the fifteenth key", {"open kiroku.htm", "click tou1400.htm", U8(u8"answer 旧測候所")}, 7},
        {"five pages",
         {"click sugatop.htm", "click ohome.htm", "click ipan13.htm", "click kankou.htm",
          "click olinks.htm", "click umaker00.htm"},
         8},
        {"the sixteenth key", {"open kiroku.htm", "click tou1500.htm", U8(u8"answer 真壁　修")}, 9},
        {"five pages to the end",
         {"click sugatop.htm", "click ohome.htm", "click ipan21.htm", "click ohome.htm",
          "click otop.htm", "click olinks.htm"},
         10},
        {"the ending pages",
         {"click umaker00.htm", "click olinks.htm", "click kyoumaker00.htm"},
         10},
    };
    const std::vector<Report> two = Play(Commands(second), "--save '" + save + "'");
    ASSERT_EQ(two.size(), Commands(second).size());
    PlayChapters(second, two, 2);
    EXPECT_EQ(two[0]["pageCounter"], "3");
    EXPECT_EQ(two[0]["passwordSolved"], "1111110111100000");
    EXPECT_EQ(two[0]["pluginMissing"], "0");
    EXPECT_EQ(two[6]["page"], "umaker02.htm");
    EXPECT_EQ(two[13]["page"], "umaker03.htm");
    // Page opens at stage 4 count on, but only a key moves it on.
    EXPECT_EQ(two[16]["pageCounter"], "6");
    EXPECT_EQ(two[17]["pageCounter"], "0");
    EXPECT_EQ(two[27]["page"], "umaker04.htm");
    EXPECT_EQ(two[36]["page"], "umaker05.htm");
    const Report& last = two.back();
    EXPECT_EQ(last["page"], "kyoumaker01.htm");
    EXPECT_EQ(two[two.size() - 3]["page"], "umaker06.htm");
    EXPECT_EQ(last["passwordSolved"], "1111111111111111");
    EXPECT_EQ(last["umakerPage"], "umaker06.htm");
}

TEST_F(VelplayTest, RefusesWhatThePlayerCouldNotDoAndChangesNothing) {
    const std::vector<std::string> commands = {"jump otop.htm",
                                               "click kiroku.htm",
                                               "answer goro",
                                               "cancel",
                                               "forward",
                                               "back",
                                               "open",
                                               "answer \xc3",
                                               "",
                                               "submit " + U8(u8"検索ボタン"),
                                               "click SUGATOP.HTM",
                                               "click kiroku.htm"};
    const std::vector<Report> r = Play(commands);
    ASSERT_EQ(r.size(), commands.size());
    EXPECT_EQ(r[0]["error"], "unknown command jump");
    EXPECT_EQ(r[1]["error"], "the page has no link to kiroku.htm");
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_NE(r[i]["error"], "null") << commands[i];
        EXPECT_EQ(r[i]["page"], "otop.htm") << commands[i];
        EXPECT_EQ(r[i]["prompt"], "null") << commands[i];
    }
    // A link is found ignoring case, and followed as the page spells it.
    EXPECT_EQ(r[10]["page"], "sugatop.htm");
    EXPECT_EQ(r[11]["page"], "kiroku.htm");
    EXPECT_EQ(r[11]["error"], "null");
}

TEST_F(VelplayTest, InputEndingAtAPromptEndsThePlayAsACancel) {
    const std::string save = dir.File("velmora.dat");
    const std::vector<Report> r =
        Play({"click sugatop.htm", "click kiroku.htm", "click tou0200.htm", "back"},
             "--save '" + save + "'");
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[2]["prompt"], "2");
    EXPECT_EQ(r[3]["prompt"], "2");
    EXPECT_EQ(r[3]["page"], "kiroku.htm");
    EXPECT_EQ(r[3]["error"], "a password prompt is open: answer or cancel it first");

    const std::vector<uint8_t> bytes = ReadBytes(save);
    const std::optional<SaveData> saved = DecodeSaveFile(bytes.data(), bytes.size());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->visited,
              (std::vector<std::string>{"otop.htm", "sugatop.htm", "kiroku.htm", "tou0200.htm"}));
    EXPECT_EQ(saved->state.passwordSolved[2], 0);
}

TEST_F(VelplayTest, SearchesBuildResultPagesThatLeadOn) {
    const std::vector<Report> r = Play({"search " + U8(u8"霧　霧"), "click onews.htm", "back",
                                        "search ", "search " + U8(u8"エロ")});
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0]["page"], "Search.htm");
    EXPECT_EQ(r[0]["sound"], "wave\\0000.wav");  // a search changes no sound
    EXPECT_EQ(r[1]["page"], "onews.htm");
    EXPECT_EQ(r[1]["address"], "http://www.kirimi.net/news/");
    EXPECT_EQ(r[2]["page"], "Search.htm");
    EXPECT_EQ(r[3]["page"], "Search.htm");  // an empty field searches nothing
    EXPECT_EQ(r[4]["error"], "null");
    EXPECT_EQ(r[4]["pageCounter"], r[0]["pageCounter"]);
}

TEST_F(VelplayTest, TypedAddressesOpenTheirPagesOrAreRefused) {
    const std::vector<Report> r =
        Play({"type HTTP://www.kirimi.net/news/", "type http://nowhere/x.HTM",
              "type http://nowhere/", "type "});
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0]["page"], "onews.htm");
    EXPECT_EQ(r[0]["address"], "http://www.kirimi.net/news/");
    EXPECT_EQ(r[1]["page"], "urlmiss.htm");
    EXPECT_EQ(r[1]["address"], "http://nowhere/x.HTM");  // the box keeps what was typed
    EXPECT_EQ(r[2]["page"], "urlmiss.htm");
    EXPECT_EQ(r[2]["message"], U8(u8"そのアドレスは見当たりません。"));
    EXPECT_EQ(r[3]["message"], U8(u8"そのアドレスは見当たりません。"));
    EXPECT_EQ(r[3]["error"], "null");
}

TEST_F(VelplayTest, DownloadsThePlugInFavouritesAndTheHomePageAcrossARestart) {
    const std::string save = dir.File("velmora.dat");
    const std::vector<Report> r = Play({"open kankou.htm",
                                        "click wall02.htm",
                                        "click icon01.htm",
                                        "open kyouplug.htm",
                                        "click plugin",
                                        "click plugin",
                                        "open osyo.htm",
                                        "favourite add",
                                        "search " + U8(u8"霧"),
                                        "favourite add",
                                        "open otop.htm",
                                        "favourite open 1",
                                        "favourite open 0",
                                        "favourite open 2",
                                        "home current",
                                        "open otop.htm",
                                        "home",
                                        "home",
                                        "favourite delete 0",
                                        "favourite drop 0"},
                                       "--save '" + save + "'");
    ASSERT_EQ(r.size(), 20u);
    Archive ex;
    ex.Open(WorldDir() + "/ex.arc");
    uint32_t index = 0;
    ASSERT_TRUE(ex.Find("wall02.bmp", index));
    EXPECT_EQ(r[0]["download"], "null");
    EXPECT_EQ(r[1]["download.file"], "wall02.bmp");
    EXPECT_EQ(r[1]["download.bytes"], std::to_string(ex.entry(index).unpackedSize));
    EXPECT_EQ(r[1]["message"], U8(u8"ダウンロード完了しました。"));
    EXPECT_EQ(r[1]["page"], "kankou.htm");
    EXPECT_EQ(r[2]["download.file"], "icon01.ico");
    EXPECT_EQ(r[3]["download"], "null");
    EXPECT_EQ(r[4]["pluginMissing"], "0");
    EXPECT_EQ(r[4]["message"], U8(u8"プラグインが組み込まれました。"));
    EXPECT_EQ(r[5]["message"], U8(u8"プラグインはすでに組み込まれています。"));

    // Favourites: the page's title, file and the search's keyword.
    EXPECT_EQ(r[7]["favourites"], "[]");
    const std::vector<std::string> cape = {U8(u8"尾形精機保養所　岬荘"), "osyo.htm", ""};
    const std::vector<std::string> fog = {U8(u8"霧検索"), "Search.htm", U8(u8"霧")};
    EXPECT_EQ(r[7].favourites, std::vector<std::vector<std::string>>{cape});
    EXPECT_EQ(r[9].favourites, (std::vector<std::vector<std::string>>{cape, fog}));
    EXPECT_EQ(r[11]["page"], "Search.htm");
    EXPECT_EQ(r[12]["page"], "osyo.htm");
    EXPECT_EQ(r[13]["error"], "there is no favourite 2");
    EXPECT_EQ(r[13]["page"], "osyo.htm");
    // The home page: the page shown, opened by the Home button unless shown.
    EXPECT_EQ(r[13]["home"], "otop.htm");
    EXPECT_EQ(r[14]["home"], "osyo.htm");
    EXPECT_EQ(r[16]["page"], "osyo.htm");
    EXPECT_EQ(r[17]["error"], "null");
    EXPECT_EQ(r[18].favourites, std::vector<std::vector<std::string>>{fog});
    EXPECT_NE(r[19]["error"], "null");

    // A restart starts at the new home page with the favourites kept; the
    // standard button gives the old home back.
    const std::vector<Report> again =
        Play({"favourite open 0", "home standard", "home"}, "--save '" + save + "'");
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again[0]["page"], "Search.htm");
    EXPECT_EQ(again[0].favourites, std::vector<std::vector<std::string>>{fog});
    EXPECT_EQ(again[1]["home"], "otop.htm");
    EXPECT_EQ(again[2]["page"], "otop.htm");

    // Without the file in ex.arc a download fails and says so.
    TempDir bare;
    std::filesystem::copy_file(WorldDir() + "/Text.arc", bare.File("Text.arc"));
    const std::vector<Report> failed =
        Play({"open kankou.htm", "click wall02.htm"}, "", bare.path().string());
    ASSERT_EQ(failed.size(), 2u);
    EXPECT_EQ(failed[1]["download.file"], "wall02.bmp");
    EXPECT_EQ(failed[1]["download.bytes"], "null");
    EXPECT_EQ(failed[1]["message"], U8(u8"ファイルのダウンロードに失敗しました。"));
}

}  // namespace
