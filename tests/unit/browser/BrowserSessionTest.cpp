#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "../../support/MessageRecorder.h"
#include "../../support/TestFiles.h"
#include "../html/PageTestSupport.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "browser/BrowserSession.h"
#include "game/Search.h"
#include "game/StoryRules.h"
#include "html/Forms.h"
#include "html/TokenList.h"

namespace {

using Log = std::vector<std::string>;

// Records what the session asks of its windows, one line a call.
class RecordingHost : public SessionHost {
  public:
    void SetStatusText(const std::string& text) override { statuses.push_back(text); }
    void HidePageControls(TokenList& page) override { log.push_back("hide " + page.name()); }
    void LayoutDiscarded(TokenList&) override {}
    void HistoryChanged() override {}
    void ShowCurrentPage() override {}
    void ShowAddress(const std::string& address) override { log.push_back("address " + address); }
    void PlayPageSound(const std::string& fileName) override { sound = fileName; }
    void ScrollToTop() override {}
    void SaveGame() override { ++saves; }
    void PlayScene(ScenarioKind kind, int number) override {
        log.push_back(ScenarioFileName(kind, number));
    }
    bool AskPassword(int slot) override {
        log.push_back("password " + std::to_string(slot));
        return acceptPassword;
    }
    void OfferDownload(const std::string& fileName) override {
        log.push_back("download " + fileName);
    }
    bool RunPluginSetup() override {
        log.push_back("plug-in set-up");
        return installPlugin;
    }

    Log log;
    Log statuses;
    std::string sound;
    int saves = 0;
    bool acceptPassword = false;
    bool installPlugin = false;
};

class BrowserSessionTest : public ::testing::Test {
  protected:
    BrowserSessionTest() {
        WriteBytes(dir_.File("Text.arc"),
                   *BuildArchive({{"otop.htm", Bytes("<title>top</title>")},
                                  {"osyo.htm", Bytes("<title>station</title>")},
                                  {"tou0301.htm", Bytes("<title>record</title>")}}));
        text_.Open(dir_.File("Text.arc"));
        session_.SetSearchTable({{"http://kirimi.net/", "otop.htm", {}, "top"}});
    }

    std::string Current() const {
        return session_.currentPage() ? session_.currentPage()->name() : "none";
    }

    MessageRecorder messages_;
    TempDir dir_;
    Archive text_;
    GameState state_ = GameState::NewGame();
    VisitedList visited_;
    RecordingHost host_;
    BrowserSession session_{state_, visited_, text_, host_, nullptr};
};

TEST_F(BrowserSessionTest, OpeningAPageRunsEveryStepWithTheReplacedName) {
    state_.disclosureStage = 2;
    session_.OpenPage("otop.htm", BrowserSession::OpenMode::New);
    session_.OpenPage("osyo.htm", BrowserSession::OpenMode::New);
    EXPECT_EQ(host_.log, (Log{"address http://kirimi.net/", "hide otop.htm"}));
    EXPECT_EQ(host_.sound, "wave\\0001.wav");
    EXPECT_EQ(host_.saves, 2);
    EXPECT_EQ(state_.pageCounter, 2u);
    EXPECT_TRUE(visited_.Contains("OSYO.HTM"));
    EXPECT_EQ(session_.currentPage()->count(), 3);  // read, not yet laid out

    // Back and Forward pass the name each page was opened with, also for
    // pages the page table does not list, and never count.
    session_.GoBack();
    EXPECT_EQ(Current(), "otop.htm");
    session_.GoForward();
    EXPECT_EQ(Current(), "osyo.htm");
    session_.GoForward();  // no neighbour: nothing at all
    EXPECT_EQ(state_.pageCounter, 2u);
    EXPECT_EQ(host_.saves, 4);
    EXPECT_EQ(visited_.names(), (std::vector<std::string>{"otop.htm", "osyo.htm"}));
}

TEST_F(BrowserSessionTest, SceneAndNoteLinksPlayInPlaceOfAPage) {
    session_.OpenPage("otop.htm", BrowserSession::OpenMode::New);
    host_.log.clear();
    EXPECT_TRUE(session_.ClickLink("TOU0300.htm"));
    EXPECT_TRUE(session_.ClickLink("suga04.htm"));
    EXPECT_EQ(host_.log, (Log{"tous03.txt", "suga04.txt"}));
    EXPECT_EQ(Current(), "otop.htm");
    EXPECT_EQ(session_.history().size(), 1u);
    EXPECT_TRUE(visited_.Contains("tou0300.htm"));
    EXPECT_EQ(state_.notesRead[4], 1);
    EXPECT_EQ(host_.saves, 3);

    EXPECT_FALSE(session_.ClickLink("osyo.htm"));
    EXPECT_EQ(Current(), "osyo.htm");
}

TEST_F(BrowserSessionTest, DownloadsAndThePluginAreTakenInPlace) {
    session_.OpenPage("otop.htm", BrowserSession::OpenMode::New);
    host_.log.clear();
    EXPECT_TRUE(session_.ClickLink("Wallpaper.htm"));
    EXPECT_TRUE(session_.ClickLink("icon01.wall.htm"));
    EXPECT_TRUE(session_.ClickLink("plugin"));  // cancelled
    EXPECT_EQ(state_.pluginMissing, 1);
    EXPECT_TRUE(visited_.Contains("plugin"));
    state_.killerCounter = 2;
    host_.installPlugin = true;
    EXPECT_TRUE(session_.ClickLink("PLUGIN"));
    EXPECT_EQ(state_.pluginMissing, 0);
    EXPECT_EQ(state_.killerCounter, 0u);
    state_.killerCounter = 2;
    EXPECT_TRUE(session_.ClickLink("plugin"));
    EXPECT_EQ(state_.killerCounter, 2u);
    EXPECT_EQ(host_.log, (Log{"download Wallpaper.bmp", "download icon01.ico", "plug-in set-up",
                              "plug-in set-up"}));
    EXPECT_EQ(MessageRecorder::Messages(),
              std::vector<std::string>{std::string(kPluginAlreadyInstalledText)});
    EXPECT_FALSE(visited_.Contains("Wallpaper.htm"));
    EXPECT_EQ(Current(), "otop.htm");
}

TEST_F(BrowserSessionTest, ProtectedPagesAskOnlyUntilSolved) {
    session_.OpenPage("otop.htm", BrowserSession::OpenMode::New);
    host_.log.clear();
    session_.OpenProtectedPage(3);
    EXPECT_EQ(Current(), "otop.htm");
    host_.acceptPassword = true;
    session_.OpenProtectedPage(3);
    EXPECT_EQ(Current(), "tou0301.htm");
    state_.passwordSolved[3] = 1;
    session_.OpenProtectedPage(3);
    session_.OpenProtectedPage(16);
    EXPECT_EQ(host_.log, (Log{"password 3", "password 3", "hide otop.htm", "hide tou0301.htm"}));
    EXPECT_EQ(session_.history().size(), 3u);
}

TEST_F(BrowserSessionTest, MissingPageIsAnEmptyHistoryEntry) {
    session_.OpenPage("nowhere.htm", BrowserSession::OpenMode::New);
    EXPECT_EQ(Current(), "nowhere.htm");
    EXPECT_EQ(session_.currentPage()->count(), 0);
    EXPECT_EQ(session_.LookUpAddress("NOWHERE.htm"), "nofile");
    EXPECT_EQ(session_.LookUpAddress("OTOP.htm"), "http://kirimi.net/");
}

TEST_F(BrowserSessionTest, APageOpenedInOtherLettersShowsItsAddress) {
    EXPECT_FALSE(session_.ClickLink("OTOP.HTM"));
    EXPECT_EQ(host_.log, (Log{"address http://kirimi.net/"}));
    EXPECT_EQ(session_.currentPage()->address(), "http://kirimi.net/");
}

TEST_F(BrowserSessionTest, TheStatusBarTellsWhileAPageOpensAndWhenItIsShown) {
    session_.OpenPage("otop.htm", BrowserSession::OpenMode::New);
    session_.BuildSearchPage("top");
    session_.BuildSearchPage(std::string(kMaxSearchText + 1, 'a'));  // refused: nothing shown
    const Log opened{"ページを開いています。", "ページが表示されました。"};
    EXPECT_EQ(host_.statuses, (Log{opened[0], opened[1], opened[0], opened[1]}));
}

TEST(SubmitDecision, ProtectedPagesComeFirstThenTheSearchButtonThenAnyPageWithoutTheBox) {
    using Kind = SubmitDecision::Kind;
    struct Case {
        const char* action;
        Kind kind;
        int page;
    };
    for (const Case& c :
         {Case{"TOU0301.HTM", Kind::ProtectedPage, 3}, Case{"tou1501.htm", Kind::ProtectedPage, 15},
          Case{"tou1601.htm", Kind::OpenPage, -1}, Case{"tou0301.htm検索ボタン", Kind::Search, -1},
          Case{"□検索ボタン", Kind::Search, -1}, Case{"x□.htm", Kind::Nothing, -1},
          Case{"osyo.htm", Kind::OpenPage, -1}}) {
        const SubmitDecision decision = DecideSubmit(c.action);
        EXPECT_EQ(decision.kind, c.kind) << c.action;
        EXPECT_EQ(decision.protectedPage, c.page) << c.action;
    }
}

// A session whose pages are laid out on the test canvas with the test host's
// form controls, whose text fields show the session's last search words.
class FormSessionTest : public ::testing::Test {
  protected:
    class LayingOutHost : public RecordingHost {
      public:
        void ShowCurrentPage() override {
            if (TokenList* page = session->currentPage()) {
                page->ResetLayout();
                page->RenderPage(canvas);
            }
        }
        BrowserSession* session = nullptr;
        TestCanvas canvas;
    };
    class SessionPageHost : public FakeHost {
      public:
        std::string LastKeyword() const override { return session->lastKeyword(); }
        BrowserSession* session = nullptr;
    };

    FormSessionTest() {
        const std::string loose = "<input type=\"submit\" name=\"";
        WriteBytes(
            dir_.File("Text.arc"),
            *BuildArchive({
                {"forms.htm",
                 Bytes("<form><input type=\"text\" name=\"q\" value=\"a\">"
                       "<input type=\"reset\"></form>"
                       "<form><input type=\"text\" name=\"mykeyword\" value=\"k\">"
                       "<input type=\"text\" name=\"other\" value=\"o\">"
                       "<input type=\"submit\" name=\"検索ボタン\">"
                       "<input type=\"reset\" name=\"reset2\"></form>"
                       "<form><input type=\"text\" name=\"keyword\" value=\"fog\"></form>" +
                       loose + "tou0301.htm\">" + loose + "x□.htm\">" + loose + "osyo.htm\">")},
                {"Search.htm", Bytes("<form><input type=\"text\" name=\"keyword\">"
                                     "<input type=\"password\" name=\"pw\"></form><!>")},
                {"osyo.htm", Bytes("<title>station</title>")},
                {"tou0301.htm", Bytes("<title>record</title>")},
                {"ero.txt", Bytes("ERO\r\nnsfw\r\n")},
            }));
        text_.Open(dir_.File("Text.arc"));
        session_.SetSearchTable({{"http://kirimi.net/", "osyo.htm", {"fog", "mist"}, "station"}});
        host_.session = &session_;
        pageHost_.session = &session_;
        session_.OpenPage("forms.htm", BrowserSession::OpenMode::New);
    }

    const FormGroup& Form(size_t i) const { return *session_.currentPage()->forms().at(i); }
    FakeHost::Control& Window(const FormControl& control) const {
        return static_cast<FakeHost::Control&>(*control.window);
    }
    // The button of the current page whose action is `action`.
    const FormButton& Button(const std::string& action) const {
        for (const auto& group : session_.currentPage()->forms()) {
            for (const auto& button : group->buttons) {
                if (button->action == action) {
                    return *button;
                }
            }
        }
        throw std::runtime_error("no button " + action);
    }
    std::string Current() const { return session_.currentPage()->name(); }

    TempDir dir_;
    Archive text_;
    GameState state_ = GameState::NewGame();
    VisitedList visited_;
    LayingOutHost host_;
    SessionPageHost pageHost_;
    BrowserSession session_{state_, visited_, text_, host_, &pageHost_};
};

TEST_F(FormSessionTest, ResetRestoresItsOwnFormAndTheSearchButtonSearchesTheFirstKeywordField) {
    // Text fields show the last search's words when first laid out: none yet.
    FakeHost::Control& q = Window(*Form(0).fields.at(0));
    FakeHost::Control& keyword = Window(*Form(1).fields.at(0));
    FakeHost::Control& other = Window(*Form(1).fields.at(1));
    EXPECT_EQ(q.text, "");
    q.text = "typed";
    other.text = "typed too";
    session_.PressButton(Button("reset2"));
    EXPECT_EQ(keyword.text, "k");
    EXPECT_EQ(other.text, "o");
    EXPECT_EQ(q.text, "typed");

    // The first form with a keyword field decides, also when that field is
    // empty: the later form's "fog" is not searched.
    keyword.text = "";
    session_.PressButton(Button("検索ボタン"));
    EXPECT_EQ(Current(), "forms.htm");
    keyword.text = "mist";
    session_.PressButton(Button("検索ボタン"));
    EXPECT_EQ(Current(), "Search.htm");
    EXPECT_EQ(session_.lastKeyword(), "mist");
    // The result page's text field shows the words; its password field does not.
    EXPECT_EQ(Window(*Form(0).fields.at(0)).text, "mist");
    EXPECT_EQ(Window(*Form(0).fields.at(1)).text, "");
    EXPECT_EQ(session_.currentPage()->LinkTargets(), std::vector<std::string>{"osyo.htm"});

    // Enter in any text field searches its text; in an empty one nothing happens.
    session_.GoBack();
    EXPECT_EQ(Current(), "forms.htm");
    other.text = "";
    session_.EnterInField(*Form(1).fields.at(1));
    EXPECT_EQ(Current(), "forms.htm");
    other.text = "fog";
    session_.EnterInField(*Form(1).fields.at(1));
    EXPECT_EQ(Current(), "Search.htm");
    EXPECT_EQ(session_.lastKeyword(), "fog");
}

TEST_F(FormSessionTest, SubmitButtonsOpenProtectedPagesThroughThePasswordAndOtherPagesAtOnce) {
    session_.PressButton(Button("tou0301.htm"));
    EXPECT_EQ(Current(), "forms.htm");
    session_.PressButton(Button("x□.htm"));
    EXPECT_EQ(Current(), "forms.htm");
    host_.acceptPassword = true;
    session_.PressButton(Button("tou0301.htm"));
    EXPECT_EQ(Current(), "tou0301.htm");
    EXPECT_EQ(host_.log, (Log{"password 3", "password 3", "hide forms.htm"}));
    session_.GoBack();
    session_.PressButton(Button("osyo.htm"));
    EXPECT_EQ(Current(), "osyo.htm");
}

TEST_F(FormSessionTest, OpeningAPageForgetsTheLastSearch) {
    session_.BuildSearchPage("mist");
    ASSERT_EQ(Window(*Form(0).fields.at(0)).text, "mist");
    session_.OpenPage("forms.htm", BrowserSession::OpenMode::New);
    EXPECT_EQ(session_.lastKeyword(), "");
    EXPECT_EQ(Window(*Form(0).fields.at(0)).text, "");
    EXPECT_EQ(Window(*Form(1).fields.at(0)).text, "");
}

TEST_F(FormSessionTest, APageLeftAndShownAgainHasItsLinksOnce) {
    session_.BuildSearchPage("fog");
    session_.GoBack();
    session_.GoForward();
    ASSERT_EQ(session_.currentPage()->links().size(), 1u);
    EXPECT_EQ(session_.currentPage()->links()[0]->target, "osyo.htm");
}

TEST_F(FormSessionTest, ASearchWithARefusedWordListsNothing) {
    session_.BuildSearchPage("fog NSFW");
    const std::vector<std::string> tokens = session_.currentPage()->Texts();
    EXPECT_NE(std::find(tokens.begin(), tokens.end(), "　　　　　恐れ多くて見つかりませんでした。"),
              tokens.end());
    EXPECT_TRUE(session_.currentPage()->links().empty());
}

}  // namespace
