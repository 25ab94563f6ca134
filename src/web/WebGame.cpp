#include "WebGame.h"

#include <emscripten.h>

#include <cstdio>

#include "JsBridge.h"
#include "Message.h"
#include "WebCanvas.h"
#include "WebDialogs.h"
#include "WebScene.h"
#include "browser/AddressBook.h"
#include "browser/SessionSave.h"
#include "game/Download.h"
#include "game/PageTable.h"
#include "game/SavePlaces.h"
#include "html/LayoutDump.h"
#include "html/PageFontMetrics.h"
#include "html/TokenList.h"
#include "picture/DibPicture.h"
#include "text/FontFaces.h"
#include "text/StringList.h"

namespace {

enum ControlKind { kTextField = 0, kPasswordField = 1, kSubmitButton = 2, kResetButton = 3 };

// What the page shows for a form control: an HTML control it places, named by
// a number.
class WebControl : public FormControlWindow {
  public:
    WebControl(WebGame& game, int id) : game_(game), id_(id) {}
    ~WebControl() override {
        js_control_destroy(id_);
        game_.ForgetControl(id_);
    }
    void Move(const Rect& rect) override {
        js_control_move(id_, rect.left, rect.top, rect.width(), rect.height());
    }
    void Show(bool shown) override { js_control_show(id_, shown); }
    std::string Text() const override {
        std::string text(256, '\0');
        const int length = js_control_text(id_, text.data(), static_cast<int>(text.size()));
        if (length > static_cast<int>(text.size())) {
            text.resize(static_cast<size_t>(length));
            js_control_text(id_, text.data(), length);
        }
        text.resize(static_cast<size_t>(std::max(length, 0)));
        return text;
    }
    void SetText(const std::string& text) override {
        js_control_set_text(id_, text.data(), text.size());
    }

  private:
    WebGame& game_;
    int id_;
};

}  // namespace

WebGame::WebGame(const WorldArchives& world)
    : world_(world),
      state_(GameState::NewGame()),
      session_(state_, visited_, world.archives[WorldArchives::kText], *this, this),
      bookmarks_(session_) {}

WebGame::~WebGame() = default;

void WebGame::Start(const std::vector<uint8_t>& save) {
    const Archive& text = world_.archives[WorldArchives::kText];
    StringList lines;
    lines.LoadLines("password.txt", text);
    passwordLists_ = ParsePasswordLines(lines);
    session_.SetSearchTable(LoadPageTable(text));

    state_ = GameState::NewGame();
    bookmarks_.SetHomeToStandard();
    if (const std::optional<SaveData> saved = DecodeSaveFile(save.data(), save.size())) {
        ApplySave(*saved);
    }
    started_ = true;
    session_.OpenPage(bookmarks_.homePage(), BrowserSession::OpenMode::New);
}

void WebGame::ApplySave(const SaveData& data) {
    state_ = data.state;
    bookmarks_.SetHome(state_.homeAddress.view(), state_.homePage.view());
    bookmarks_.SetFavourites(data.favourites);
    addresses_ = EntriesToRestore(data.addresses);
    visited_.Clear();
    for (const std::string& name : data.visited) {
        visited_.Add(name);
    }
    FavouritesChanged();
}

bool WebGame::LoadSave(const std::vector<uint8_t>& bytes) {
    const std::optional<SaveData> saved = DecodeSaveFile(bytes.data(), bytes.size());
    if (!saved) {
        ShowMessage(kSaveNotLoadedText);
        return false;
    }
    ApplySave(*saved);
    session_.OpenPage(bookmarks_.homePage(), BrowserSession::OpenMode::New);
    SaveGame();
    return true;
}

std::vector<uint8_t> WebGame::SaveBytes() const {
    return EncodeSaveFile(GatherSaveData(state_, bookmarks_, addresses_, visited_));
}

void WebGame::SaveGame() {
    if (!started_) {
        return;
    }
    const std::vector<uint8_t> bytes = SaveBytes();
    // The last good save stays; the player hears of it once a run.
    if (!js_save_game(bytes.data(), bytes.size()) && !toldSaveFailed_) {
        toldSaveFailed_ = true;
        ShowMessage(kBrowserSaveFailedText);
    }
}

void WebGame::SetView(int width, int height, int windowWidth) {
    client_ = {0, 0, width, height};
    windowWidth_ = windowWidth;
}

void WebGame::SetScroll(int x, int y) {
    scroll_ = {x, y};
}

LinkElement* WebGame::LinkAt(int x, int y) const {
    const TokenList* page = session_.currentPage();
    return page != nullptr ? page->HitTest({x, y}) : nullptr;
}

bool WebGame::MouseMove(int x, int y) {
    const TokenList* page = session_.currentPage();
    if (page == nullptr) {
        return false;
    }
    for (const auto& link : page->links()) {
        if (link->HitRect().Contains({x, y})) {
            SetStatusText(session_.LookUpAddress(link->target));
            hotLink_ = link.get();
            return true;
        }
        if (link.get() == hotLink_) {
            SetStatusText("");
        }
    }
    return false;
}

void WebGame::MouseDown(int x, int y) {
    if (LinkElement* link = LinkAt(x, y)) {
        hotLink_ = link;
    }
}

void WebGame::MouseUp(int x, int y) {
    LinkElement* link = LinkAt(x, y);
    if (link == nullptr || link != hotLink_) {
        return;
    }
    const TokenList* page = session_.currentPage();
    const std::string target = link->target;
    if (session_.ClickLink(target)) {
        // The link in its visited colour, if its page is still the one shown.
        LinkElement* again = session_.currentPage() == page ? LinkAt(x, y) : nullptr;
        if (again != nullptr && again->target == target) {
            RepaintLink(*again);
        }
    }
}

void WebGame::RepaintLink(LinkElement& link) {
    if (TokenList* page = session_.currentPage()) {
        WebCanvas canvas;
        page->DrawLink(link, canvas);
        js_link_repainted();
    }
}

void WebGame::AddAddress(const std::string& text) {
    addresses_.push_back(text);
}

void WebGame::TypedAddress(const std::string& boxText) {
    const ::TypedAddress typed = DecideTypedAddress(session_.searchTable(), boxText);
    AddAddress(typed.text);
    const auto trim = [this] {
        // The list is never scrolled when an entry is added: its top is the oldest.
        if (const std::optional<size_t> entry = EntryToTrim(addresses_.size(), 0)) {
            addresses_.erase(addresses_.begin() + static_cast<std::ptrdiff_t>(*entry));
        }
    };
    if (typed.outcome == TypedAddress::Outcome::Open) {
        trim();
        session_.OpenPage(typed.page, BrowserSession::OpenMode::New);
        return;
    }
    js_progress(0, 0, 100);
    RunFetch(typed.fetchStepMs,
             {[] { return static_cast<uint32_t>(emscripten_get_now()); },
              [] { emscripten_sleep(1); }, [](int position) { js_progress(1, position, 0); }});
    if (typed.outcome == TypedAddress::Outcome::MissingPage) {
        session_.OpenPage(typed.page, BrowserSession::OpenMode::New);
        js_progress(1, 0, 0);
    } else {
        ShowMessage(kAddressNotFoundText);
        js_progress(1, 0, 0);
        if (const TokenList* page = session_.currentPage()) {
            ShowAddress(page->address());
        }
    }
    trim();
}

void WebGame::PickedAddress(const std::string& text) {
    AddressPicker picker;
    picker.DroppedDown("");
    if (const auto page = picker.ClosedUp(text, session_.searchTable())) {
        session_.OpenPage(*page, BrowserSession::OpenMode::New);
    }
}

void WebGame::Home() {
    bookmarks_.GoHome();
}

// The Search button opens the search engine's page, as on Windows; searching
// is the pages' own fields' and buttons' work.
void WebGame::Search() {
    session_.OpenPage("search.htm", BrowserSession::OpenMode::New);
}

void WebGame::SetTextSizeOffset(int offset) {
    textSizeOffset_ = offset;
    if (TokenList* page = session_.currentPage()) {
        page->DiscardLayout();
        hotLink_ = nullptr;
        ShowCurrentPage();
    }
}

void WebGame::FavouritesChanged() {
    js_favourites_changed();
}

void WebGame::FetchFailed() {
    if (!toldFetchFailed_) {
        toldFetchFailed_ = true;
        ShowMessage(kWorldFileUnreachableText);
    }
}

void WebGame::PressControl(int id) {
    const auto found = controls_.find(id);
    if (found != controls_.end() && found->second.button != nullptr) {
        session_.PressButton(*found->second.button);
    }
}

void WebGame::EnterInControl(int id) {
    const auto found = controls_.find(id);
    if (found != controls_.end() && found->second.field != nullptr) {
        session_.EnterInField(*found->second.field);
    }
}

void WebGame::ControlChanged(int id) {
    const auto found = controls_.find(id);
    if (found != controls_.end() && found->second.field != nullptr) {
        found->second.field->changed = true;
    }
}

std::string WebGame::DumpLayout() const {
    const TokenList* page = session_.currentPage();
    if (page == nullptr) {
        return {};
    }
    // Only the controls of the page shown: pages in the history keep theirs.
    std::vector<DumpedControl> controls;
    const auto onPage = [page](const FormGroup* group) {
        for (const auto& form : page->forms()) {
            if (form.get() == group) {
                return true;
            }
        }
        return false;
    };
    for (const auto& [id, control] : controls_) {
        if (const FormTextField* field = control.field; field && onPage(field->group)) {
            controls.push_back({field->password ? "password" : "text",
                                field->rect.Offset(scroll_.x, scroll_.y), field->name,
                                field->initialValue});
        } else if (const FormButton* button = control.button; button && onPage(button->group)) {
            controls.push_back({button->submit ? "submit" : "reset",
                                button->rect.Offset(scroll_.x, scroll_.y), button->action,
                                button->caption});
        }
    }
    return ::DumpLayout(*page, scrollSize_, controls);
}

void WebGame::Repaint() {
    ShowCurrentPage();
}

// SessionHost

void WebGame::SetStatusText(const std::string& text) {
    js_set_status(text.data(), text.size());
}

void WebGame::HidePageControls(TokenList& page) {
    page.HideFormControls();
}

void WebGame::LayoutDiscarded(TokenList& page) {
    if (&page == session_.currentPage()) {
        hotLink_ = nullptr;
    }
}

void WebGame::HistoryChanged() {
    js_history_changed(session_.history().CanGoBack(), session_.history().CanGoForward());
}

void WebGame::ShowCurrentPage() {
    TokenList* page = session_.currentPage();
    if (page == nullptr) {
        return;
    }
    WebCanvas canvas;
    // A page without a body shows white, never the page before.
    canvas.FillRect({0, 0, TokenList::kMaxPageWidth, TokenList::kMaxPageHeight},
                    MakeColour(255, 255, 255));
    page->ResetLayout();
    page->RenderPage(canvas);
    SetProgressPos(0);
    js_page_painted(scrollSize_.width, scrollSize_.height);
}

void WebGame::ShowAddress(const std::string& address) {
    js_show_address(address.data(), address.size());
}

void WebGame::PlayPageSound(const std::string& fileName) {
    js_play_sound(fileName.data(), fileName.size());
}

void WebGame::ScrollToTop() {
    scroll_ = {};
    js_scroll_to_top();
}

void WebGame::PlayScene(ScenarioKind kind, int number) {
    // The link is visited (a note read) already: a tab closed mid-scene keeps it.
    SaveGame();
    WebScene(*this, world_.archives[WorldArchives::kText]).Play(kind, number);
}

bool WebGame::AskPassword(int slot) {
    // Kept at once: a tab closed while the player reads the answer loses nothing.
    return AskPasswordInPage(state_, passwordLists_, slot, [this] { SaveGame(); });
}

void WebGame::OfferDownload(const std::string& fileName) {
    const std::string_view offered = OfferedDownloadName(fileName);
    if (!js_offer_download(offered.data(), offered.size())) {
        return;
    }
    // The browser keeps the file; the page cannot know where, nor whether the
    // player kept it, so the entry's bytes are the success.
    const std::optional<std::vector<uint8_t>> bytes =
        ReadDownload(world_.archives[WorldArchives::kEx], fileName);
    if (bytes) {
        js_save_file(offered.data(), offered.size(), bytes->data(), bytes->size());
        js_show_message(kDownloadDoneText.data(), kDownloadDoneText.size(),
                        kDownloadDoneCaption.data(), kDownloadDoneCaption.size());
    } else {
        ShowMessage(std::string(kDownloadFailedText));
    }
}

bool WebGame::RunPluginSetup() {
    return RunPluginSetupInPage();
}

// PageHost

Rect WebGame::ClientRect() const {
    return client_;
}

int WebGame::ViewWindowWidth() const {
    return windowWidth_;
}

void WebGame::SetScrollSizes(int width, int height) {
    scrollSize_ = {width, height};
}

Point WebGame::ScrollPosition() const {
    return scroll_;
}

void WebGame::SetProgressRange(int lower, int upper) {
    js_progress(0, lower, upper);
}

void WebGame::SetProgressPos(int position) {
    js_progress(1, position, 0);
}

void WebGame::AdvanceProgress(int delta) {
    js_progress(2, delta, 0);
}

void WebGame::SetWindowTitle(const std::string& text) {
    js_set_title(text.data(), text.size());
}

bool WebGame::IsVisited(std::string_view name) const {
    return visited_.Contains(name);
}

int WebGame::TextSizeOffset() const {
    return textSizeOffset_;
}

bool WebGame::PluginInstalled() const {
    return state_.pluginMissing == 0;
}

bool WebGame::CapsLockOn() const {
    return PageCapsLockOn();
}

bool WebGame::LoadPicture(std::string_view name, DibPicture& slot) {
    return slot.Load(name, world_.pictures());
}

std::string WebGame::LastKeyword() const {
    return session_.lastKeyword();
}

Size WebGame::MeasureCaption(std::string_view text) {
    return {SystemFontTextWidth(text), kSystemFontHeight};
}

std::unique_ptr<FormControlWindow> WebGame::CreateTextField(FormTextField& field) {
    const int id = nextControlId_++;
    controls_[id] = Control{&field, nullptr};
    const Rect& r = field.rect;
    js_control_create(id, field.password ? kPasswordField : kTextField, r.left, r.top, r.width(),
                      r.height(), field.initialValue.data(), field.initialValue.size());
    return std::make_unique<WebControl>(*this, id);
}

std::unique_ptr<FormControlWindow> WebGame::CreateButton(FormButton& button) {
    const int id = nextControlId_++;
    controls_[id] = Control{nullptr, &button};
    const Rect& r = button.rect;
    js_control_create(id, button.submit ? kSubmitButton : kResetButton, r.left, r.top, r.width(),
                      r.height(), button.caption.data(), button.caption.size());
    return std::make_unique<WebControl>(*this, id);
}
