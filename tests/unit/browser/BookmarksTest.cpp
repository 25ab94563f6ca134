#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/MessageRecorder.h"
#include "../html/PageTestSupport.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "browser/Bookmarks.h"
#include "browser/BrowserSession.h"
#include "browser/SessionSave.h"
#include "html/TokenList.h"

namespace {

// Lays every page out as the view does, so that pages have their titles.
class WalkingHost : public SessionHost, public FakeHost {
  public:
    WalkingHost() { windowWidth = 656; }
    void SetStatusText(const std::string&) override {}
    void HidePageControls(TokenList&) override {}
    void LayoutDiscarded(TokenList&) override {}
    void HistoryChanged() override {}
    void ShowCurrentPage() override {
        if (session != nullptr && session->currentPage() != nullptr) {
            session->currentPage()->ResetLayout();
            session->currentPage()->RenderPage(canvas);
        }
    }
    void ShowAddress(const std::string&) override {}
    void PlayPageSound(const std::string&) override {}
    void ScrollToTop() override {}
    void SaveGame() override {}
    void PlayScene(ScenarioKind, int) override {}
    bool AskPassword(int) override { return false; }
    void OfferDownload(const std::string&) override {}
    bool RunPluginSetup() override { return false; }

    BrowserSession* session = nullptr;
    TestCanvas canvas;  // pages keep the fonts it makes
};

std::string Repeat(const std::string& text, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

class BookmarksTest : public ::testing::Test {
  protected:
    BookmarksTest() {
        WriteBytes(dir_.File("Text.arc"),
                   *BuildArchive({{"otop.htm", Bytes("<title>トップ</title><body>")},
                                  {"osyo.htm", Bytes("<title>岬荘</title><body>")},
                                  {"long.htm", Bytes("<title>" + Repeat("霧", 200) + "</title>")},
                                  {"Search.htm", Bytes("<title>検索結果</title><body>")}}));
        text_.Open(dir_.File("Text.arc"));
        session_.SetSearchTable({{"http://kirimi.net/", "otop.htm", {"top"}, "top"},
                                 {"http://kirimi.net/misaki/", "osyo.htm", {"岬"}, "cape"}});
        host_.session = &session_;
    }

    std::string Current() const {
        return session_.currentPage() ? session_.currentPage()->name() : "none";
    }

    MessageRecorder messages_;
    TempDir dir_;
    Archive text_;
    GameState state_ = GameState::NewGame();
    VisitedList visited_;
    WalkingHost host_;
    BrowserSession session_{state_, visited_, text_, host_, &host_};
    Bookmarks bookmarks_{session_};
};

TEST_F(BookmarksTest, FavouritesRememberThePageOrTheSearchAndOpenItAgain) {
    EXPECT_FALSE(bookmarks_.AddCurrentPage());  // nothing shown yet
    session_.OpenPage("osyo.htm", BrowserSession::OpenMode::New);
    ASSERT_TRUE(bookmarks_.AddCurrentPage());
    ASSERT_TRUE(bookmarks_.AddCurrentPage());  // the same page twice: two entries
    session_.BuildSearchPage("岬");
    ASSERT_TRUE(bookmarks_.AddCurrentPage());
    EXPECT_EQ(bookmarks_.favourites(), (std::vector<Favourite>{{"岬荘", "", "osyo.htm"},
                                                               {"岬荘", "", "osyo.htm"},
                                                               {"検索結果", "岬", "Search.htm"}}));

    // A page favourite opens its page and forgets the last search; a search
    // favourite searches again and remembers its keyword.
    session_.OpenPage("otop.htm", BrowserSession::OpenMode::New);
    session_.SetLastKeyword("old");
    ASSERT_TRUE(bookmarks_.OpenFavourite(0));
    EXPECT_EQ(Current(), "osyo.htm");
    EXPECT_EQ(session_.lastKeyword(), "");
    const size_t pages = session_.history().size();
    ASSERT_TRUE(bookmarks_.OpenFavourite(2));
    EXPECT_EQ(Current(), "Search.htm");
    EXPECT_EQ(session_.lastKeyword(), "岬");
    EXPECT_EQ(session_.history().size(), pages + 1);
    // Adding the repeated search keeps its keyword again.
    ASSERT_TRUE(bookmarks_.AddCurrentPage());
    EXPECT_EQ(bookmarks_.favourites().back().keyword, "岬");

    // Indices past the end change nothing.
    EXPECT_FALSE(bookmarks_.OpenFavourite(4));
    EXPECT_FALSE(bookmarks_.DeleteFavourite(4));
    EXPECT_EQ(Current(), "Search.htm");
    ASSERT_TRUE(bookmarks_.DeleteFavourite(1));
    ASSERT_TRUE(bookmarks_.DeleteFavourite(0));
    EXPECT_EQ(bookmarks_.favourites().size(), 2u);
    EXPECT_EQ(bookmarks_.favourites().front().fileName, "Search.htm");
}

TEST_F(BookmarksTest, AFavouriteAddedOnAPageOpenedAfterASearchOpensThatPage) {
    session_.BuildSearchPage("岬");
    session_.OpenPage("otop.htm", BrowserSession::OpenMode::New);
    ASSERT_TRUE(bookmarks_.AddCurrentPage());
    EXPECT_EQ(bookmarks_.favourites().back(), (Favourite{"トップ", "", "otop.htm"}));
    session_.OpenPage("osyo.htm", BrowserSession::OpenMode::New);
    ASSERT_TRUE(bookmarks_.OpenFavourite(0));
    EXPECT_EQ(Current(), "otop.htm");
}

TEST_F(BookmarksTest, EveryFavouriteSurvivesTheSaveFileUnchangedBeyondTheMenusRange) {
    session_.OpenPage("long.htm", BrowserSession::OpenMode::New);
    std::vector<Favourite> loaded;
    for (int i = 0; i < 300; ++i) {
        loaded.push_back({"page " + std::to_string(i), i % 2 ? "霧" : "", "otop.htm"});
    }
    // A damaged list: a title with no end, a name too long for its field.
    loaded.push_back({Repeat("あ", 300), Repeat("k", 300), "C:\\ゲーム\\とても長い名前.htm"});
    bookmarks_.SetFavourites(loaded);
    ASSERT_TRUE(bookmarks_.AddCurrentPage());  // a title of 400 bytes
    ASSERT_EQ(bookmarks_.favourites().size(), 302u);
    EXPECT_EQ(bookmarks_.favourites()[300].title, Repeat("あ", 127));
    EXPECT_EQ(bookmarks_.favourites()[300].fileName.size(), 18u);  // cut before a half character
    EXPECT_EQ(bookmarks_.favourites()[301].title, Repeat("霧", 127));

    // What is held is what comes back, in order, also past the 257 of the menu.
    SaveData data;
    data.state = state_;
    data.favourites = bookmarks_.favourites();
    const std::vector<uint8_t> file = EncodeSaveFile(data);
    const std::optional<SaveData> read = DecodeSaveFile(file.data(), file.size());
    ASSERT_TRUE(read);
    Bookmarks restarted(session_);
    restarted.SetFavourites(read->favourites);
    EXPECT_EQ(restarted.favourites(), bookmarks_.favourites());
    ASSERT_TRUE(restarted.OpenFavourite(299));
    EXPECT_EQ(session_.lastKeyword(), "霧");
}

TEST_F(BookmarksTest, TheSaveTakesTheHomePageTheBookmarksHoldNotTheStatesOld) {
    session_.OpenPage("osyo.htm", BrowserSession::OpenMode::New);
    ASSERT_TRUE(bookmarks_.SetHomeToCurrentPage());
    ASSERT_TRUE(bookmarks_.AddCurrentPage());
    state_.disclosureStage = 4;
    visited_.Add("tou0100.htm");

    const SaveData data = GatherSaveData(state_, bookmarks_, {"kirimi", "misaki"}, visited_);
    const std::vector<uint8_t> file = EncodeSaveFile(data);
    const std::optional<SaveData> read = DecodeSaveFile(file.data(), file.size());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->state.homePage.view(), "osyo.htm");
    EXPECT_EQ(read->state.homeAddress.view(), "http://kirimi.net/misaki/");
    EXPECT_EQ(state_.homePage.view(), "otop.htm");  // the state itself is left alone
    EXPECT_EQ(read->state.disclosureStage, 4u);
    EXPECT_EQ(read->favourites, bookmarks_.favourites());
    EXPECT_EQ(read->addresses, (std::vector<std::string>{"kirimi", "misaki"}));
    EXPECT_EQ(read->visited, visited_.names());
}

TEST_F(BookmarksTest, TheHomePageIsTheStandardOneTheShownOneOrWhatWasSaved) {
    EXPECT_EQ(bookmarks_.homePage(), "otop.htm");
    EXPECT_EQ(bookmarks_.homeAddress(), kMakerHomeAddress);
    EXPECT_FALSE(bookmarks_.SetHomeToCurrentPage());

    ASSERT_TRUE(bookmarks_.GoHome());
    EXPECT_FALSE(bookmarks_.GoHome());  // shown already: no second history entry
    EXPECT_EQ(session_.history().size(), 1u);

    session_.OpenPage("osyo.htm", BrowserSession::OpenMode::New);
    ASSERT_TRUE(bookmarks_.SetHomeToCurrentPage());
    EXPECT_EQ(bookmarks_.homePage(), "osyo.htm");
    EXPECT_EQ(bookmarks_.homeAddress(), "http://kirimi.net/misaki/");
    EXPECT_FALSE(bookmarks_.GoHome());

    // A search-result page is taken as it stands.
    session_.BuildSearchPage("岬");
    ASSERT_TRUE(bookmarks_.SetHomeToCurrentPage());
    EXPECT_EQ(bookmarks_.homePage(), "Search.htm");
    EXPECT_EQ(bookmarks_.homeAddress(), session_.currentPage()->address());

    bookmarks_.SetHomeToStandard();
    EXPECT_EQ(bookmarks_.homePage(), "otop.htm");
    EXPECT_EQ(bookmarks_.homeAddress(), kMakerHomeAddress);
    // Compared byte for byte: the same page in other letters opens again.
    bookmarks_.SetHome("http://x/", "SEARCH.htm");
    ASSERT_TRUE(bookmarks_.GoHome());
    EXPECT_EQ(Current(), "SEARCH.htm");

    // Saved values are taken as the save file holds them.
    bookmarks_.SetHome(Repeat("a", 300), "abcdefghijklmnopqrstuvwxyz.htm");
    EXPECT_EQ(bookmarks_.homeAddress().size(), 255u);
    EXPECT_EQ(bookmarks_.homePage(), "abcdefghijklmnopqrs");
}

TEST_F(BookmarksTest, NothingIsHeldThatTheSaveFileWouldNotBringBack) {
    session_.OpenPage("osyo.htm", BrowserSession::OpenMode::New);
    bookmarks_.SetFavourites(
        std::vector<Favourite>(kMaxSavedFavourites - 1, Favourite{"t", "", "otop.htm"}));
    EXPECT_TRUE(bookmarks_.AddCurrentPage());
    EXPECT_FALSE(bookmarks_.AddCurrentPage());  // the save file would not take it back
    ASSERT_EQ(bookmarks_.favourites().size(), kMaxSavedFavourites);
    EXPECT_EQ(bookmarks_.favourites().back().fileName, "osyo.htm");

    // Names that can name no page: a favourite's is empty, the home page is the standard one.
    bookmarks_.SetFavourites({{"t", "k", "\xFF\xFF"}, {"t", "", "a\x01.htm"}});
    EXPECT_EQ(bookmarks_.favourites(), (std::vector<Favourite>{{"t", "k", ""}, {"t", "", ""}}));
    bookmarks_.SetHome("http://x/", "\x81");
    EXPECT_EQ(bookmarks_.homePage(), "otop.htm");
    EXPECT_EQ(bookmarks_.homeAddress(), "http://x/");
}

}  // namespace
