#include "StoryRunner.h"

#include <charconv>
#include <filesystem>
#include <memory>
#include <utility>

#include "Cp932Text.h"
#include "Json.h"
#include "Message.h"
#include "browser/AddressBook.h"
#include "browser/SessionSave.h"
#include "game/Download.h"
#include "game/PluginSetup.h"
#include "game/Scene.h"
#include "game/StoryRules.h"
#include "html/Canvas.h"
#include "html/TokenList.h"
#include "text/ShiftJis.h"

namespace {

// The runner whose command is being played hears the game's message boxes.
std::optional<std::string>* g_messages = nullptr;

bool g_openFailed = false;
void NoteOpenFailure(const std::string&) {
    g_openFailed = true;
}

std::string Flags(const uint8_t* flags, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        out += flags[i] != 0 ? '1' : '0';
    }
    return out;
}

std::string JsonOrNull(const std::optional<std::string>& cp932) {
    return cp932 ? JsonText(*cp932) : "null";
}

// A favourite's number as a command names it: digits only.
bool ParseIndex(std::string_view text, size_t& index) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Lays pages out without drawing them: fixed metrics, a single-byte
// character half as wide as the font is high, a double-byte one as wide.
class MeasuringCanvas : public Canvas {
  public:
    class Font : public CanvasFont {
      public:
        explicit Font(const FontSpec& wanted) : spec_(wanted) {}
        const FontSpec& fontSpec() const override { return spec_; }

      private:
        FontSpec spec_;
    };

    std::unique_ptr<CanvasFont> MakeFont(const FontSpec& wanted) override {
        return std::make_unique<Font>(wanted);
    }
    const CanvasFont* SelectFont(const CanvasFont* font) override {
        std::swap(font, font_);
        return font;
    }
    Colour SetTextColour(Colour colour) override {
        std::swap(colour, colour_);
        return colour;
    }
    bool SetTransparentText(bool transparent) override {
        std::swap(transparent, transparent_);
        return transparent;
    }
    Size MeasureText(std::string_view text) override {
        const int height = font_ != nullptr ? font_->fontSpec().height : FontSpec{}.height;
        int width = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            const bool pair = IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size();
            width += pair ? height : (height + 1) / 2;
            i += pair ? 1 : 0;
        }
        return {width, height};
    }
    void DrawCharacters(int, std::string_view, const int*) override {}
    void DrawTextAt(int, int, std::string_view) override {}
    void DrawWrappedText(const Rect&, std::string_view) override {}
    Size MeasureWrappedText(int width, std::string_view text) override {
        const Size line = MeasureText(text);
        if (width <= 0 || line.width <= width) {
            return line;
        }
        return {width, line.height * ((line.width + width - 1) / width)};
    }
    void FillRect(const Rect&, Colour) override {}
    void DrawEdge(const Rect&, EdgeStyle) override {}
    void CopyPicture(const DibPicture&, const Rect&) override {}
    void StretchPicture(const DibPicture&, const Rect&) override {}
    void DrawPictureTransparent(const DibPicture&, const Rect&) override {}

  private:
    const CanvasFont* font_ = nullptr;
    Colour colour_ = 0;
    bool transparent_ = false;
};

}  // namespace

bool OpenStoryWorld(const std::string& folder, StoryWorld& world, std::string& error) {
    const std::string textPath = (std::filesystem::path(folder) / "Text.arc").string();
    g_openFailed = false;
    MessageHandler previous = SetMessageHandler(NoteOpenFailure);
    world.text.Open(textPath);
    SetMessageHandler(previous);
    if (g_openFailed || !world.text.loaded()) {
        error = "cannot read " + textPath;
        return false;
    }
    LoadPasswordTable(world.text, world.passwords);
    // Downloads come from ex.arc; a world without one fails them as the game does.
    previous = SetMessageHandler([](const std::string&) {});
    world.ex.Open((std::filesystem::path(folder) / "ex.arc").string());
    SetMessageHandler(previous);
    return true;
}

StoryRunner::StoryRunner(const Archive& textArchive, PasswordLists passwords, SaveData start,
                         ReadLine read, WriteLine write, Keep keep)
    : textArchive_(textArchive),
      passwords_(std::move(passwords)),
      state_(start.state),
      addresses_(std::move(start.addresses)),
      read_(std::move(read)),
      write_(std::move(write)),
      keep_(std::move(keep)),
      session_(state_, visited_, textArchive, *this, this),
      bookmarks_(session_) {
    session_.SetSearchTable(LoadPageTable(textArchive));
    bookmarks_.SetFavourites(std::move(start.favourites));
    bookmarks_.SetHome(state_.homeAddress.view(), state_.homePage.view());
    for (const std::string& name : start.visited) {
        visited_.Add(name);
    }
    g_messages = &message_;
    SetMessageHandler(CaptureMessage);
}

StoryRunner::~StoryRunner() {
    SetMessageHandler(nullptr);
    g_messages = nullptr;
}

void StoryRunner::CaptureMessage(const std::string& text) {
    if (g_messages == nullptr) {
        return;
    }
    // Two boxes in one command are reported one under the other.
    *g_messages = *g_messages ? **g_messages + "\n" + text : text;
}

SaveData StoryRunner::Saved() const {
    return GatherSaveData(state_, bookmarks_, addresses_, visited_);
}

void StoryRunner::Run() {
    session_.OpenPage(bookmarks_.homePage(), BrowserSession::OpenMode::New);
    keep_(Saved());
    while (std::optional<Command> command = ReadCommand()) {
        Execute(*command);
        if (inputEnded_) {
            // The input ended at a prompt, which then counted as cancelled.
            return;
        }
        Report();
    }
}

std::optional<StoryRunner::Command> StoryRunner::ReadCommand() {
    std::optional<std::string> line = read_();
    if (!line) {
        inputEnded_ = true;
        return std::nullopt;
    }
    if (!line->empty() && line->back() == '\r') {
        line->pop_back();
    }
    scene_ = playingScene_.empty() ? std::nullopt : std::optional<std::string>(playingScene_);
    pictures_.clear();
    message_.reset();
    error_.reset();
    download_.reset();

    Command command;
    const std::optional<std::string> text = Utf8ToCp932(*line);
    if (!text) {
        command.error = "the line is not UTF-8, or holds a character code page 932 lacks";
        return command;
    }
    const size_t space = text->find(' ');
    command.verb = text->substr(0, space);
    command.argument = space == std::string::npos ? "" : text->substr(space + 1);
    return command;
}

void StoryRunner::Execute(const Command& command) {
    const std::string& verb = command.verb;
    const std::string& name = command.argument;
    if (!command.error.empty()) {
        error_ = command.error;
    } else if (verb == "open" || verb == "click" || verb == "submit") {
        if (name.empty()) {
            error_ = verb + " needs a page name";
        } else if (verb == "open") {
            session_.OpenPage(name, BrowserSession::OpenMode::New);
        } else if (verb == "click") {
            // The page's own spelling of the target is what a click hands on.
            const TokenList* page = session_.currentPage();
            const std::vector<std::string> targets =
                page != nullptr ? page->LinkTargets() : std::vector<std::string>{};
            auto link = targets.begin();
            while (link != targets.end() && !EqualsIgnoringAsciiCase(*link, name)) {
                ++link;
            }
            if (link == targets.end()) {
                error_ = "the page has no link to " + name;
            } else {
                session_.ClickLink(*link);
            }
        } else if (DecideSubmit(name).kind == SubmitDecision::Kind::Search) {
            // Pages here have no fields to type into.
            error_ = "a search button searches what is typed into its page: use search WORDS";
        } else {
            session_.Submit(name);
        }
    } else if (verb == "type") {
        TypeAddress(name);
    } else if (verb == "search") {
        // As Enter in a search field: an empty field does nothing.
        if (!name.empty()) {
            session_.BuildSearchPage(name);
        }
    } else if (verb == "back") {
        if (session_.history().CanGoBack()) {
            session_.GoBack();
        } else {
            error_ = "there is no page to go back to";
        }
    } else if (verb == "forward") {
        if (session_.history().CanGoForward()) {
            session_.GoForward();
        } else {
            error_ = "there is no page to go forward to";
        }
    } else if (verb == "plugin") {
        if (state_.pluginMissing != 0) {
            InstallPlugin(state_);
            ShowMessage(std::string(kPluginInstalledText));
        } else {
            ShowMessage(std::string(kPluginAlreadyInstalledText));
        }
        visited_.Add("plugin");
    } else if (verb == "favourite") {
        FavouriteCommand(name);
    } else if (verb == "home") {
        HomeCommand(name);
    } else if (verb == "answer" || verb == "cancel") {
        error_ = "no password prompt is open";
    } else if (verb.empty()) {
        error_ = "no command";
    } else {
        error_ = "unknown command " + verb;
    }
}

void StoryRunner::TypeAddress(const std::string& text) {
    // Enter in the address box, without the fetch's waits.
    const TypedAddress typed = DecideTypedAddress(session_.searchTable(), text);
    addresses_.push_back(typed.text);
    if (const std::optional<size_t> trim = EntryToTrim(addresses_.size(), 0)) {
        addresses_.erase(addresses_.begin() + static_cast<std::ptrdiff_t>(*trim));
    }
    address_ = typed.text;
    if (typed.outcome == TypedAddress::Outcome::Refused) {
        ShowMessage(kAddressNotFoundText);
        const TokenList* page = session_.currentPage();
        address_ = page != nullptr ? page->address() : "";
        return;
    }
    session_.OpenPage(typed.page, BrowserSession::OpenMode::New);
}

void StoryRunner::FavouriteCommand(const std::string& argument) {
    const size_t space = argument.find(' ');
    const std::string action = argument.substr(0, space);
    size_t index = 0;
    const bool numbered = space != std::string::npos &&
                          ParseIndex(std::string_view(argument).substr(space + 1), index);
    if (action == "add" && space == std::string::npos) {
        // The menu item's dialog, answered yes.
        if (!bookmarks_.AddCurrentPage()) {
            error_ = "no page is shown";
        }
    } else if ((action == "open" || action == "delete") && numbered) {
        const bool done =
            action == "open" ? bookmarks_.OpenFavourite(index) : bookmarks_.DeleteFavourite(index);
        if (!done) {
            error_ = "there is no favourite " + std::to_string(index);
        }
    } else {
        error_ = "favourite needs add, open N or delete N";
    }
}

void StoryRunner::HomeCommand(const std::string& argument) {
    if (argument.empty()) {
        bookmarks_.GoHome();
    } else if (argument == "current") {
        if (!bookmarks_.SetHomeToCurrentPage()) {
            error_ = "no page is shown";
        }
    } else if (argument == "standard") {
        bookmarks_.SetHomeToStandard();
    } else {
        error_ = "home takes nothing, current or standard";
    }
}

void StoryRunner::ShowCurrentPage() {
    if (TokenList* page = session_.currentPage()) {
        MeasuringCanvas canvas;
        page->ResetLayout();
        page->RenderPage(canvas);
    }
}

void StoryRunner::OfferDownload(const std::string& fileName) {
    // The save dialog is taken as confirmed; the file is only measured.
    const std::optional<std::vector<uint8_t>> bytes =
        exArchive_ != nullptr ? ReadDownload(*exArchive_, fileName) : std::nullopt;
    download_ = Download{fileName, bytes ? std::optional<size_t>(bytes->size()) : std::nullopt};
    ShowMessage(std::string(bytes ? kDownloadDoneText : kDownloadFailedText));
}

bool StoryRunner::RunPluginSetup() {
    ShowMessage(std::string(kPluginInstalledText));
    return true;
}

void StoryRunner::PlayScene(ScenarioKind kind, int number) {
    Scene scene;
    scene.Load(textArchive_, kind, number);
    playingScene_ = scene.fileName();
    scene_ = playingScene_;
    for (;;) {
        const SceneStep step = scene.Next(state_);
        if (step.kind == SceneStep::Kind::End) {
            break;
        }
        if (step.kind == SceneStep::Kind::Picture) {
            const TokenList* page = session_.currentPage();
            pictures_.push_back(page != nullptr ? page->PictureName(step.picture) : step.picture);
        } else if (step.kind == SceneStep::Kind::Password) {
            if (!WaitForPassword(step.slot)) {
                break;
            }
            scene.PasswordAccepted(state_);
        }
    }
    playingScene_.clear();
}

bool StoryRunner::AskPassword(int slot) {
    return WaitForPassword(slot);
}

bool StoryRunner::WaitForPassword(int slot) {
    prompt_ = slot;
    for (;;) {
        // The command that opened the prompt, or the last one refused while
        // it is open, is answered now.
        Report();
        const std::optional<Command> command = ReadCommand();
        if (!command) {
            prompt_ = -1;
            return false;
        }
        if (!command->error.empty()) {
            error_ = command->error;
        } else if (command->verb == "answer") {
            if (SubmitPassword(state_, passwords_, slot, command->argument)) {
                prompt_ = -1;
                return true;
            }
        } else if (command->verb == "cancel") {
            prompt_ = -1;
            return false;
        } else {
            error_ = "a password prompt is open: answer or cancel it first";
        }
    }
}

void StoryRunner::Report() {
    keep_(Saved());
    const TokenList* page = session_.currentPage();
    std::string pictures = "[";
    for (const std::string& picture : pictures_) {
        pictures += (pictures.size() > 1 ? "," : "") + JsonText(picture);
    }
    pictures += "]";
    std::string favourites = "[";
    for (const ::Favourite& favourite : bookmarks_.favourites()) {
        favourites += (favourites.size() > 1 ? ",[" : "[") + JsonText(favourite.title) + "," +
                      JsonText(favourite.fileName) + "," + JsonText(favourite.keyword) + "]";
    }
    favourites += "]";
    std::string download = "null";
    if (download_) {
        download = "{\"file\":" + JsonText(download_->file) +
                   ",\"bytes\":" + (download_->bytes ? std::to_string(*download_->bytes) : "null") +
                   "}";
    }
    const std::string json =
        "{\"page\":" + (page != nullptr ? JsonText(page->name()) : std::string("null")) +
        ",\"stage\":" + std::to_string(state_.disclosureStage) +
        ",\"pageCounter\":" + std::to_string(state_.pageCounter) +
        ",\"killerCounter\":" + std::to_string(state_.killerCounter) +
        ",\"pluginMissing\":" + std::to_string(state_.pluginMissing) +
        ",\"umakerPage\":" + JsonText(state_.umakerPage.view()) +
        ",\"kyoumakerPage\":" + JsonText(state_.kyoumakerPage.view()) + ",\"notesRead\":\"" +
        Flags(state_.notesRead.data(), state_.notesRead.size()) + "\",\"passwordSolved\":\"" +
        Flags(state_.passwordSolved.data(), state_.passwordSolved.size()) +
        "\",\"sound\":" + JsonText(sound_) +
        ",\"prompt\":" + (prompt_ >= 0 ? std::to_string(prompt_) : std::string("null")) +
        ",\"address\":" + JsonText(address_) + ",\"scene\":" + JsonOrNull(scene_) +
        ",\"pictures\":" + pictures + ",\"message\":" + JsonOrNull(message_) +
        ",\"error\":" + JsonOrNull(error_) + ",\"download\":" + download +
        ",\"favourites\":" + favourites + ",\"home\":" + JsonText(bookmarks_.homePage()) + "}";
    write_(json);
}
