#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "../../support/TestFiles.h"
#include "Cp932Text.h"
#include "FileBytes.h"
#include "archive/ArchiveWriter.h"
#include "game/SaveFile.h"

#ifndef VELARC_PATH
#error "VELARC_PATH names the velarc program under test"
#endif

namespace {

// u8 literals never take the execution character set, code page 932.
std::string Utf8(std::u8string_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class VelarcTest : public ::testing::Test {
  protected:
    // Runs velarc with `args` in the test's folder.
    Result Run(const std::string& args) {
        const std::string command = "cd '" + dir.path().string() + "' && '" VELARC_PATH "' " +
                                    args + " >stdout.txt 2>stderr.txt";
        Result result;
        const int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        auto out = ReadBytes(dir.File("stdout.txt"));
        auto err = ReadBytes(dir.File("stderr.txt"));
        result.out.assign(out.begin(), out.end());
        result.err.assign(err.begin(), err.end());
        return result;
    }
    void Write(const std::string& name, const std::vector<uint8_t>& data) {
        WriteBytes(dir.File(name), data);
    }

    TempDir dir;
};

TEST_F(VelarcTest, PackThenExtractGivesBackEveryFile) {
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"empty.bin", {}},
        {"one.bin", {0x00}},
        {"zeros.bin", std::vector<uint8_t>(9000, 0)},
        {"random.bin", RandomBytes(70000, 11)},
        {"few.bin", RandomBytes(40000, 12, 5)},
        {"Page.HTM", Bytes("<html><body>\r\n\x82\xa0\x82\xa2</body></html>\r\n")},
        {"nineteen-bytes.txt", RandomBytes(4097, 13)},
    };
    std::string names;
    for (const auto& [name, data] : files) {
        Write(name, data);
        names += " " + name;
    }
    ASSERT_EQ(Run("pack game.arc" + names).status, 0);

    Result list = Run("list game.arc");
    ASSERT_EQ(list.status, 0);
    EXPECT_EQ(list.out.substr(0, list.out.find('\n')), "empty.bin\t0\t0\t228");

    for (const auto& [name, data] : files) {
        ASSERT_EQ(Run("extract game.arc " + name + " out.bin").status, 0) << name;
        EXPECT_EQ(ReadBytes(dir.File("out.bin")), data) << name;
    }
    // Standard output, and the game's look-up rule for the name.
    Result piped = Run("extract game.arc page.htm");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(Bytes(piped.out), files[5].second);

    Result verify = Run("verify game.arc");
    EXPECT_EQ(verify.status, 0);
    EXPECT_NE(verify.out.find("7 entries, 0 damaged"), std::string::npos) << verify.out;
}

TEST_F(VelarcTest, PackRefusesNamesTheTableCannotHold) {
    Write("twenty-bytes-long.tx", {1});
    Result r = Run("pack bad.arc twenty-bytes-long.tx");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("at most 19"), std::string::npos) << r.err;

    Write("a.htm", {1});
    Write("A.HTM", {2});
    r = Run("pack bad.arc a.htm A.HTM");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("could not tell it from"), std::string::npos) << r.err;

    r = Run("pack bad.arc missing.bin");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("cannot read missing.bin"), std::string::npos) << r.err;
}

TEST_F(VelarcTest, ExtractReportsMissingAndDamagedEntries) {
    Write("text.txt", Bytes(std::string(3000, 'q') + "tail"));
    ASSERT_EQ(Run("pack t.arc text.txt").status, 0);

    Result missing = Run("extract t.arc nothing.txt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no entry \"nothing.txt\""), std::string::npos) << missing.err;

    // Drop the last packed byte, the literal 'l': the stream now decodes short,
    // and what did decode is still written. The table's packed size shrinks with it.
    std::vector<uint8_t> arc = ReadBytes(dir.File("t.arc"));
    arc.pop_back();
    arc[4 + 24] = static_cast<uint8_t>(arc[4 + 24] - 1);
    Write("t.arc", arc);
    Result shortened = Run("extract t.arc text.txt out.txt");
    EXPECT_EQ(shortened.status, 1);
    EXPECT_NE(shortened.err.find("decodes to 3003 of its 3004 bytes"), std::string::npos)
        << shortened.err;
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), Bytes(std::string(3000, 'q') + "tai"));

    Result verify = Run("verify t.arc");
    EXPECT_EQ(verify.status, 1);
    EXPECT_NE(verify.out.find("text.txt: decodes to 3003 of its 3004 bytes"), std::string::npos);
}

TEST_F(VelarcTest, VerifyFindsStreamsThatRunLongOrLieOutsideTheFile) {
    Write("a.txt", Bytes("abcdefgh"));
    Write("b.txt", Bytes("12345678"));
    ASSERT_EQ(Run("pack t.arc a.txt b.txt").status, 0);
    std::vector<uint8_t> arc = ReadBytes(dir.File("t.arc"));
    arc[4 + 20] = 5;          // a.txt now claims 5 bytes of its 8
    arc[4 + 32 + 28] = 0xF0;  // b.txt's data moves far beyond the end
    Write("t.arc", arc);
    Result verify = Run("verify t.arc");
    EXPECT_EQ(verify.status, 1);
    EXPECT_NE(verify.out.find("a.txt: decodes to more than its 5 bytes"), std::string::npos)
        << verify.out;
    EXPECT_NE(verify.out.find("b.txt: its data lies beyond the end of the archive"),
              std::string::npos)
        << verify.out;
}

TEST_F(VelarcTest, ShowsPagesAndDataTextsAsTheGameReadsThem) {
    Write("Page.htm", Bytes("<HTML>\r\n<B>Hello\r\nWorld</B>\r\n"));
    Write("long.htm", Bytes("<p>kept<" + std::string(300, 'x') + ">lost"));
    Write("search.txt", Bytes("one\r\n\r\nthree\r\nno end"));
    Write("password.txt", Bytes("□０２　open sesame\r\n□ＥＮＤ\r\n//□０１　no\r\n"
                                "□１０　b\r\n□０２　a\r\n"));
    ASSERT_EQ(Run("pack Text.arc Page.htm long.htm search.txt password.txt").status, 0);

    Result tokens = Run("tokens Text.arc page.htm");
    EXPECT_EQ(tokens.status, 0) << tokens.err;
    EXPECT_EQ(tokens.out, "<html>\n<b>\nHelloWorld\n</b>\n");

    Result cut = Run("tokens Text.arc long.htm");
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.out, "<p>\nkept\n");
    EXPECT_NE(cut.err.find("after token 2"), std::string::npos) << cut.err;

    Result lines = Run("lines Text.arc SEARCH.TXT");
    EXPECT_EQ(lines.status, 0) << lines.err;
    EXPECT_EQ(lines.out, "one\n\nthree\n");

    Result passwords = Run("passwords Text.arc");
    EXPECT_EQ(passwords.status, 0) << passwords.err;
    EXPECT_EQ(passwords.out, "2\topen sesame\n2\ta\n10\tb\n");

    for (const char* command : {"tokens Text.arc none.htm", "lines Text.arc none.txt"}) {
        Result missing = Run(command);
        EXPECT_EQ(missing.status, 1) << command;
        EXPECT_NE(missing.err.find("no entry \"none."), std::string::npos) << missing.err;
    }
    ASSERT_EQ(Run("pack Other.arc Page.htm").status, 0);
    Result noTable = Run("passwords Other.arc");
    EXPECT_EQ(noTable.status, 1);
    EXPECT_NE(noTable.err.find("no entry \"password.txt\""), std::string::npos) << noTable.err;
}

SaveData SampleSave() {
    SaveData save;
    save.state = GameState::NewGame();
    save.state.disclosureStage = 3;
    save.state.pageCounter = 5;
    save.state.passwordSolved[0] = 1;
    save.state.passwordSolved[15] = 1;
    save.state.notesRead[2] = 1;
    save.favourites = {{"夜の町", "", "otop.htm"}, {"検索", "灯台", "search.htm"}};
    save.addresses = {"http://www.korvex.jp/"};
    save.visited = {"otop.htm", "umaker03.htm"};
    return save;
}

TEST_F(VelarcTest, ShowsEverySaveFileFieldAsUtf8) {
    Write("velmora.dat", EncodeSaveFile(SampleSave()));
    Result r = Run("save velmora.dat");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, Utf8(u8"messageWait: 1\n"
                          u8"addressBarVisible: 1\n"
                          u8"toolBarVisible: 1\n"
                          u8"statusBarVisible: 1\n"
                          u8"pluginMissing: 1\n"
                          u8"passwordSolved: 1000000000000001\n"
                          u8"homeAddress: http://www.korvex.jp/\n"
                          u8"homePage: otop.htm\n"
                          u8"notesRead: 001000000000000\n"
                          u8"umakerPage: umaker00.htm\n"
                          u8"kyoumakerPage: kyoumaker00.htm\n"
                          u8"disclosureStage: 3\n"
                          u8"pageCounter: 5\n"
                          u8"killerCounter: 0\n"
                          u8"reserved: 0\n"
                          u8"favouriteCount: 2\n"
                          u8"addressCount: 1\n"
                          u8"visitedCount: 2\n"
                          u8"# favourites\n"
                          u8"favourite[0].title: 夜の町\n"
                          u8"favourite[0].keyword: \n"
                          u8"favourite[0].fileName: otop.htm\n"
                          u8"favourite[1].title: 検索\n"
                          u8"favourite[1].keyword: 灯台\n"
                          u8"favourite[1].fileName: search.htm\n"
                          u8"# addresses\n"
                          u8"address[0]: http://www.korvex.jp/\n"
                          u8"# visited\n"
                          u8"visited[0]: otop.htm\n"
                          u8"visited[1]: umaker03.htm\n"));
}

TEST_F(VelarcTest, ShowsWhatADamagedSaveFileHoldsAndWhatIsWrong) {
    std::vector<uint8_t> bytes = EncodeSaveFile(SampleSave());
    // homePage (277, 20 bytes) without its zero; homeAddress with a broken
    // double-byte character and a control byte; a flag that is neither 0
    // nor 1; the second favourite cut off.
    std::fill_n(bytes.begin() + 277, 20, 'x');
    const std::string address("\x81 a\x01\x82\xa0", 7);
    std::copy(address.begin(), address.end(), bytes.begin() + 21);
    bytes[5 + 3] = 2;
    bytes.resize(852 + 532 + 100);
    Write("velmora.dat", bytes);
    Result r = Run("save velmora.dat");
    EXPECT_EQ(r.status, 1);
    for (const std::string& line :
         {"homePage: " + std::string(19, 'x') + "\n", Utf8(u8"homeAddress: \\x81 a\\x01あ\n"),
          std::string("passwordSolved: 1001000000000001\n"), Utf8(u8"favourite[0].title: 夜の町\n"),
          std::string("favouriteCount: 2\n")}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
    }
    EXPECT_EQ(r.out.find("favourite[1]"), std::string::npos) << r.out;
    for (const char* problem :
         {"homePage has no zero byte", "passwordSolved[3] holds 2",
          "favouriteCount is 2, but the file holds only 1 whole favourite record\n",
          "addressCount is 1, but no address record is read"}) {
        EXPECT_NE(r.err.find(problem), std::string::npos) << problem << "\n" << r.err;
    }

    // Shorter than the state: the fields that are wholly there.
    bytes.resize(300);
    Write("short.dat", bytes);
    r = Run("save short.dat");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("homePage: "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("notesRead"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("300 bytes, shorter than the 852-byte state: the fields from notesRead on "
                         "are missing"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Run("save absent.dat").status, 2);
}

TEST_F(VelarcTest, TellsWhatTheGameMendsWhenItReadsASaveFileAndPassesWhatItWrites) {
    SaveData save = SampleSave();
    save.addresses.assign(30, "http://a/");
    save.visited = {"otop.htm", "b.htm", "c.htm"};
    std::vector<uint8_t> bytes = EncodeSaveFile(save);
    // The file as a damaged or hand-made one holds it: 30 addresses.
    bytes[844] = 30;
    bytes.resize(852 + 2 * 532);
    for (int i = 0; i < 30; ++i) {
        bytes.resize(bytes.size() + 256);
        bytes[bytes.size() - 256] = static_cast<uint8_t>('a' + i % 26);
    }
    std::vector<uint8_t> visited(3 * 20);
    std::copy_n("otop.htm", 8, visited.begin());
    std::copy_n("\xFF\xFF", 2, visited.begin() + 20);
    std::copy_n("c.htm\x82", 6, visited.begin() + 40);
    bytes.insert(bytes.end(), visited.begin(), visited.end());
    bytes.push_back(0);  // one byte after the last record
    bytes[0] = 2;
    bytes[297 + 1] = 0xFF;
    std::copy_n("\xFF\xFF\0", 3, bytes.begin() + 277);
    std::copy_n("x\x82\0", 3, bytes.begin() + 852 + 256);  // favourite[0].keyword
    Write("velmora.dat", bytes);

    Result r = Run("save velmora.dat");
    EXPECT_EQ(r.status, 1);
    // Shown as the game reads it: visited[1] is left out.
    for (const char* line :
         {"messageWait: 1\n", "homePage: otop.htm\n", "notesRead: 011000000000000\n",
          "favourite[0].keyword: x\n", "address[23]: x\n# visited\n",
          "visited[0]: otop.htm\nvisited[2]: c.htm\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
    }
    EXPECT_EQ(r.out.find("address[24]"), std::string::npos);
    const std::string expected =
        "velarc: velmora.dat: messageWait holds 2, not 0 or 1; the game reads it as 1\n"
        "velarc: velmora.dat: homePage \"\\xFF\\xFF\" can name no page; the game reads "
        "\"otop.htm\"\n"
        "velarc: velmora.dat: notesRead[1] holds 255, not 0 or 1; the game reads it as 1\n"
        "velarc: velmora.dat: favourite[0].keyword ends in the first byte of a double-byte "
        "character, which the game leaves out\n"
        "velarc: velmora.dat: visited[1] \"\\xFF\\xFF\" can name no page; the game leaves it out\n"
        "velarc: velmora.dat: visited[2] ends in the first byte of a double-byte character, "
        "which the game leaves out\n"
        "velarc: velmora.dat: addressCount is 30, but the game reads only the first 24 address "
        "records\n"
        "velarc: velmora.dat: 1 bytes after the last record, which the game ignores\n";
    EXPECT_EQ(r.err, expected);

    // What the game reads it writes back as a file with nothing to tell; the
    // same for whatever it holds in memory.
    const std::optional<SaveData> read = DecodeSaveFile(bytes.data(), bytes.size());
    ASSERT_TRUE(read);
    SaveData held = *read;
    held.state.passwordSolved[2] = 9;
    held.state.kyoumakerPage = "";
    held.favourites.push_back({"\x82", "", "\x01"});
    held.visited.push_back("\x82");
    for (const SaveData& data : {*read, held}) {
        Write("again.dat", EncodeSaveFile(data));
        r = Run("save again.dat");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(VelarcTest, ExplainsItsUseAndItsErrors) {
    Result help = Run("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"list ARC", "extract ARC NAME [OUT]", "pack ARC FILE...", "verify ARC", "tokens ARC NAME",
          "lines ARC NAME", "passwords ARC", "save FILE"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    EXPECT_EQ(Run("").status, 2);
    EXPECT_NE(Run("frobnicate x").err.find("unknown command \"frobnicate\""), std::string::npos);
    EXPECT_NE(Run("list").err.find("wrong arguments for \"list\""), std::string::npos);
    EXPECT_NE(Run("tokens x.arc").err.find("wrong arguments for \"tokens\""), std::string::npos);

    Result noArchive = Run("list absent.arc");
    EXPECT_EQ(noArchive.status, 2);
    EXPECT_NE(noArchive.err.find("cannot read absent.arc"), std::string::npos) << noArchive.err;
}

TEST_F(VelarcTest, ShowsThePageTableAndWhatASearchFinds) {
    const std::string table = Utf8(
        u8"\u25b3http://a/"
        u8"\r\n\u25a1a.htm\r\n\u25cb\u9727\r\n\u2606Fog\r\n\u25a1\uff2e\uff25\uff38\uff34\r\n"
        u8"\u25a1\uff2e\uff25\uff38\uff34\r\n\u25a1b."
        u8"htm\r\n\u25cbx\r\n\u25cby\r\n\u25a1\uff2e\uff25\uff38\uff34\r\n");
    Write("table.txt", Bytes(*Utf8ToCp932(table)));
    Write("Search.htm", Bytes("<html><!><end>"));
    Write("ero.txt", Bytes("bad\r\n"));
    std::filesystem::copy_file(dir.File("table.txt"), dir.File("search.txt"));
    ASSERT_EQ(Run("pack Text.arc search.txt Search.htm ero.txt").status, 0);

    Result pages = Run("pages .");
    EXPECT_EQ(pages.status, 0);
    EXPECT_EQ(Cp932ToUtf8(pages.out),
              Utf8(u8"0\ta.htm\thttp://a/\tFog\t\u9727\n2\tb.htm\t\t\tx|y\n"));

    Result found = Run("search . " + Utf8(u8"\u9727") + " y");
    EXPECT_EQ(found.status, 0);
    EXPECT_NE(found.out.find("<a href=\"a.htm\">\n 1. Fog\n</a>"), std::string::npos) << found.out;
    EXPECT_NE(found.out.find(" 2. \n"), std::string::npos);
    EXPECT_EQ(found.out.substr(found.out.size() - 14), "<end>\n</html>\n");

    Result refused = Run("search . BAD");
    EXPECT_EQ(refused.out.find("<a href"), std::string::npos);
    EXPECT_EQ(refused.out.substr(refused.out.size() - 6), "<end>\n");
}

TEST_F(VelarcTest, MapsEveryWayFromPageToPage) {
    auto page = [](const std::string& name, const std::string& source) {
        return ArchiveInput{name, Bytes(source)};
    };
    std::string table;
    for (const char* line : {"△http://www.a.jp/",
                             "□otop.htm",
                             "☆トップ",
                             "□ＮＥＸＴ",
                             "△http://www.a.jp/s/",
                             "□search.htm",
                             "□ＮＥＸＴ",
                             "△http://b.jp/c",
                             "□c.htm",
                             "□ＮＥＸＴ",
                             "□a.htm",
                             "○word",
                             "□ＮＥＸＴ",
                             "□tou0301.htm",  // reached only through the form's button
                             "□ＮＥＸＴ",
                             "△http://u.jp/",
                             "□umaker00.htm",
                             "□ＮＥＸＴ",
                             "△http://u.jp/",
                             "□umaker01.htm",
                             "□ＮＥＸＴ",
                             "△HTTP://WWW.A.JP/~i/",  // the same site as www.a.jp
                             "□ipan52.htm",
                             "□ＮＥＸＴ"}) {
        table += std::string(line) + "\r\n";
    }
    const std::optional<std::vector<uint8_t>> text = BuildArchive({
        page("otop.htm",
             "<title>Top</title><a href=\"a.htm\">a</a><a href=\"Tou0100.htm\">scene</a>"
             "<a href=\"suga02.htm\">note</a><a href=\"plugin\">set up</a>"
             "<a href=\"wall01.htm\">wall</a><a href=\"tou0001.htm\">straight in</a>"
             "<a href=\"A.HTM\">again</a><a href=\"\">nothing</a><a href=\"umaker00.htm\">u</a>"
             "<a href=\"ipan52.htm\">i</a><form><input type=\"text\" name=\"keyword\">"
             "<input type=\"submit\" name=\"tou0301.htm\"><input type=\"submit\" "
             "name=\"検索ボタン\"><input type=\"submit\" name=\"b.htm\"><input type=\"submit\" "
             "name=\"□\"><input type=\"reset\" name=\"c.htm\"></form>"),
        page("a.htm", "<title>A</title><a href=\"gone.htm\">gone</a>"),
        page("b.htm", "<title>B</title>"),
        page("c.htm", "<title>C</title>"),
        page("search.htm", "<form><input type=\"submit\" name=\"検索ボタン\"></form>"),
        page("urlmiss.htm", "<title>?</title>"),
        page("tou0001.htm", "<title>locked</title>"),
        page("tou0301.htm", "<title>locked</title>"),
        page("umaker00.htm", "<title>U</title>"),
        page("umaker01.htm", "<title>U</title>"),
        page("ipan52.htm", "<title>photos</title>"),
        page("killerd.htm", "<title>diary</title>"),
        page("island.htm", "<title>島</title><a href=\"island2.htm\">on</a>"),
        page("island2.htm", "<title>far</title>"),
        {"search.txt", Bytes(table)},
    });
    ASSERT_TRUE(text);
    Write("Text.arc", *text);

    Result edges = Run("map --text .");
    EXPECT_EQ(edges.status, 0) << edges.err;
    EXPECT_EQ(edges.out,
              "otop.htm\tlink\ta.htm\t\n"
              "otop.htm\tmessage\ttous01.txt\t\n"
              "otop.htm\tnote\tsuga02.txt\t\n"
              "otop.htm\tplugin\tplugin\t\n"
              "otop.htm\tdownload\twall01.bmp\t\n"
              "otop.htm\tlink\ttou0001.htm\t\n"
              "otop.htm\tlink\tumaker00.htm\t\n"
              "otop.htm\tlink\tipan52.htm\t\n"
              "otop.htm\tprotected\ttou0301.htm\tpassword 3\n"
              "otop.htm\tform\tsearch.htm\tsearch\n"
              "otop.htm\tform\tb.htm\t\n"
              "a.htm\tlink\tgone.htm\t\n"
              "search.htm\tform\tsearch.htm\tsearch\n"
              "umaker00.htm\trule\tumaker01.htm\tstage 1\n"
              "umaker00.htm\trule\tumaker02.htm\tstage 3\n"
              "umaker00.htm\trule\tumaker03.htm\tstage 4\n"
              "umaker00.htm\trule\tumaker04.htm\tstage 6\n"
              "umaker00.htm\trule\tumaker05.htm\tstage 8\n"
              "umaker00.htm\trule\tumaker06.htm\tstage 10\n"
              "ipan52.htm\trule\tkillerd.htm\tplug-in, third visit\n"
              "island.htm\tlink\tisland2.htm\t\n"
              "unreachable\t2\n");

    // The picture's source: a page without a record keeps its own title, and
    // what nothing reaches stands out.
    ASSERT_EQ(Run("map . world.dot").status, 0);
    const std::vector<uint8_t> dot = ReadBytes(dir.File("world.dot"));
    const std::string source(dot.begin(), dot.end());
    EXPECT_NE(source.find(Utf8(u8"\"island.htm\" [label=\"island.htm\\n\u5cf6\\n(no page-table "
                               u8"record)\", fillcolor=")),
              std::string::npos)
        << source;
    EXPECT_NE(source.find(Utf8(u8"label=\"otop.htm\\n\u30c8\u30c3\u30d7\"]")), std::string::npos);
    EXPECT_NE(source.find("label=\"killerd.htm\\ndiary\\n(no page-table record)\"]"),
              std::string::npos);
    EXPECT_NE(source.find("label=\"gone.htm\\n(not in Text.arc)\""), std::string::npos);
    EXPECT_NE(source.find("subgraph cluster_0 {\n    label=\"www.a.jp\""), std::string::npos);
    EXPECT_EQ(source.find("label=\"WWW.A.JP\""), std::string::npos);
    EXPECT_EQ(Run("map . world.txt").status, 2);
}

TEST(FileBytes, ReadsAFileWholeWhateverItsLengthAgainstTheReadBlock) {
    TempDir dir;
    for (size_t size :
         {size_t{0}, size_t{1}, size_t{65535}, size_t{65536}, size_t{65537}, size_t{200000}}) {
        std::vector<uint8_t> bytes(size);
        for (size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
        }
        WriteBytes(dir.File("f.bin"), bytes);
        EXPECT_EQ(ReadFileBytes(dir.File("f.bin")), bytes) << size << " bytes";
    }
    EXPECT_FALSE(ReadFileBytes(dir.File("missing.bin")));
}

}  // namespace
