// What the web page calls: the game's entry points, one per event of the
// page. Texts and bytes come in as code page 932 in memory the page
// allocated; answers that are texts go out through one result buffer the
// page reads right after the call.

#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "JsBridge.h"
#include "Message.h"
#include "WebGame.h"
#include "WebTitle.h"
#include "browser/ChromeLayout.h"
#include "game/Favourites.h"
#include "html/TokenList.h"
#include "picture/ButtonColours.h"
#include "picture/DibPicture.h"

namespace {

WorldArchives world;
std::unique_ptr<WebGame> game;
std::unique_ptr<WebTitle> title;
std::string result;
// The view's size, which the page tells before the game starts: the home page
// is laid out for it.
struct View {
    int width = 800;
    int height = 600;
    int windowWidth = 800;
} view;

std::string Text(const char* text, int length) {
    return text != nullptr && length > 0 ? std::string(text, static_cast<size_t>(length))
                                         : std::string();
}

// Every message of the game, in the page's message box.
void ShowInPage(const std::string& text) {
    js_show_message(text.data(), text.size(), "", 0);
}

int Answer(std::string text) {
    result = std::move(text);
    return static_cast<int>(result.size());
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* vm_result() {
    return result.data();
}

// The archives the page has fetched into the current folder, once.
EMSCRIPTEN_KEEPALIVE void vm_open_world() {
    SetMessageHandler(ShowInPage);
    world.Open();
}

// The title screen.
EMSCRIPTEN_KEEPALIVE int vm_title_start() {
    title = std::make_unique<WebTitle>();
    return Answer(title->Start(world));
}
EMSCRIPTEN_KEEPALIVE int vm_title_timer(int id) {
    return title ? Answer(title->OnTimer(id)) : Answer("");
}
EMSCRIPTEN_KEEPALIVE int vm_title_click() {
    return title ? Answer(title->OnClick()) : Answer("");
}
EMSCRIPTEN_KEEPALIVE void vm_title_end() {
    title.reset();
}

// The chrome's numbers, as JSON.
EMSCRIPTEN_KEEPALIVE int vm_chrome_layout() {
    std::string shifts;
    for (int shift : chrome::kToolButtonShifts) {
        shifts += (shifts.empty() ? "" : ",") + std::to_string(shift);
    }
    return Answer("{\"logoFrameWidth\":" + std::to_string(chrome::kLogoFrameWidth) +
                  ",\"logoFramesShown\":" + std::to_string(chrome::kLogoFramesShown) +
                  ",\"logoIntervalMs\":" + std::to_string(chrome::kLogoIntervalMs) +
                  ",\"progressWidth\":" + std::to_string(chrome::kProgressWidth) +
                  ",\"toolButtonSize\":" + std::to_string(chrome::kToolButtonSize) +
                  ",\"firstToolButtonLeft\":" + std::to_string(chrome::kFirstToolButtonLeft) +
                  ",\"toolButtonShifts\":[" + shifts + "]}");
}

// A tool button's picture from the program's art ("/art/NAME-STATE.bmp"),
// with its key colours swapped for the chrome's, as the Windows edition swaps
// them for the system's: the width and height as two little-endian 32-bit
// numbers, then RGBA pixels. Empty when the picture is missing.
EMSCRIPTEN_KEEPALIVE int vm_button_picture(const char* name, int length, uint32_t highlight,
                                           uint32_t shadow, uint32_t border) {
    const std::string base = "/art/" + Text(name, length);
    const auto grid = [](const std::string& path) {
        DibPicture picture;
        std::vector<uint8_t> file;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            uint8_t buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
                file.insert(file.end(), buffer, buffer + n);
            }
            std::fclose(f);
        }
        PixelGrid pixels;
        if (!picture.LoadFromBytes(file.data(), file.size())) {
            return pixels;
        }
        pixels.width = picture.width();
        pixels.height = picture.height();
        for (int y = 0; y < pixels.height; ++y) {
            for (int x = 0; x < pixels.width; ++x) {
                pixels.pixels.push_back(picture.ColourAt(x, y));
            }
        }
        return pixels;
    };
    const size_t dash = base.rfind('-');
    const std::optional<ButtonKeys> keys =
        dash == std::string::npos ? std::nullopt
                                  : TakeButtonKeys(grid(base.substr(0, dash) + "-normal.bmp"));
    PixelGrid picture = grid(base);
    if (picture.pixels.empty()) {
        return Answer("");
    }
    if (keys) {
        RecolorToSystem(picture, *keys, SystemButtonColours{highlight, shadow, border});
    }
    std::string out(8, '\0');
    for (int i = 0; i < 4; ++i) {
        out[static_cast<size_t>(i)] = static_cast<char>(picture.width >> (8 * i));
        out[static_cast<size_t>(4 + i)] = static_cast<char>(picture.height >> (8 * i));
    }
    for (uint32_t colour : picture.pixels) {
        out += static_cast<char>(colour);
        out += static_cast<char>(colour >> 8);
        out += static_cast<char>(colour >> 16);
        out += static_cast<char>(0xFF);
    }
    return Answer(out);
}

// The browser.
EMSCRIPTEN_KEEPALIVE void vm_start(const uint8_t* save, int length) {
    game = std::make_unique<WebGame>(world);
    game->SetView(view.width, view.height, view.windowWidth);
    game->Start(std::vector<uint8_t>(save, save + (save != nullptr ? length : 0)));
}
EMSCRIPTEN_KEEPALIVE void vm_set_view(int width, int height, int windowWidth) {
    view = {width, height, windowWidth};
    if (game) {
        game->SetView(width, height, windowWidth);
    }
}
EMSCRIPTEN_KEEPALIVE void vm_set_scroll(int x, int y) {
    game->SetScroll(x, y);
}
EMSCRIPTEN_KEEPALIVE int vm_mouse_move(int x, int y) {
    return game->MouseMove(x, y);
}
EMSCRIPTEN_KEEPALIVE void vm_mouse_down(int x, int y) {
    game->MouseDown(x, y);
}
EMSCRIPTEN_KEEPALIVE void vm_mouse_up(int x, int y) {
    game->MouseUp(x, y);
}
EMSCRIPTEN_KEEPALIVE void vm_back() {
    game->session().GoBack();
}
EMSCRIPTEN_KEEPALIVE void vm_forward() {
    game->session().GoForward();
}
EMSCRIPTEN_KEEPALIVE void vm_home() {
    game->Home();
}
EMSCRIPTEN_KEEPALIVE void vm_search() {
    game->Search();
}
EMSCRIPTEN_KEEPALIVE void vm_typed_address(const char* text, int length) {
    game->TypedAddress(Text(text, length));
}
EMSCRIPTEN_KEEPALIVE void vm_picked_address(const char* text, int length) {
    game->PickedAddress(Text(text, length));
}
EMSCRIPTEN_KEEPALIVE int vm_addresses() {
    std::string lines;
    for (const std::string& address : game->addresses()) {
        lines += address + "\n";
    }
    return Answer(lines);
}
EMSCRIPTEN_KEEPALIVE int vm_current_address() {
    const TokenList* page = game->session().currentPage();
    return Answer(page != nullptr ? page->address() : "");
}
EMSCRIPTEN_KEEPALIVE void vm_text_size(int offset) {
    game->SetTextSizeOffset(offset);
}
EMSCRIPTEN_KEEPALIVE int vm_text_size_offset() {
    return game->textSizeOffset();
}
EMSCRIPTEN_KEEPALIVE void vm_repaint() {
    game->Repaint();
}

// Settings kept in the save: 0 the address bar, 1 the tool bar, 2 the status
// bar, 3 the message window's text at once.
EMSCRIPTEN_KEEPALIVE int vm_setting(int which) {
    const GameState& state = game->state();
    switch (which) {
        case 0:
            return state.addressBarVisible;
        case 1:
            return state.toolBarVisible;
        case 2:
            return state.statusBarVisible;
        case 3:
            return state.messageWait == 0;
        default:
            return 0;
    }
}
EMSCRIPTEN_KEEPALIVE void vm_toggle_setting(int which) {
    GameState& state = game->state();
    uint8_t* setting = which == 0   ? &state.addressBarVisible
                       : which == 1 ? &state.toolBarVisible
                       : which == 2 ? &state.statusBarVisible
                       : which == 3 ? &state.messageWait
                                    : nullptr;
    if (setting != nullptr) {
        *setting = *setting != 0 ? 0 : 1;
    }
}

// Form controls.
EMSCRIPTEN_KEEPALIVE void vm_control_press(int id) {
    game->PressControl(id);
}
EMSCRIPTEN_KEEPALIVE void vm_control_enter(int id) {
    game->EnterInControl(id);
}
EMSCRIPTEN_KEEPALIVE void vm_control_changed(int id) {
    game->ControlChanged(id);
}

// Favourites and the home page. The menu: one line an item, its index in
// the list, whether it starts a new column (0 or 1) and its title, split by
// tabs.
EMSCRIPTEN_KEEPALIVE int vm_favourites_menu() {
    const std::vector<Favourite>& favourites = game->bookmarks().favourites();
    std::string lines;
    for (const FavouriteMenuItem& item : PlanFavouritesMenu(favourites.size())) {
        lines += std::to_string(item.index) + "\t" + (item.newColumn ? "1" : "0") + "\t" +
                 favourites[item.index].title + "\n";
    }
    return Answer(lines);
}
EMSCRIPTEN_KEEPALIVE int vm_favourites_list() {
    std::string lines;
    for (const Favourite& favourite : game->bookmarks().favourites()) {
        lines += favourite.title + "\n";
    }
    return Answer(lines);
}
EMSCRIPTEN_KEEPALIVE void vm_open_favourite(int index) {
    if (index >= 0) {
        game->bookmarks().OpenFavourite(static_cast<size_t>(index));
    }
}
EMSCRIPTEN_KEEPALIVE int vm_can_add_favourite() {
    return game->session().currentPage() != nullptr;
}
EMSCRIPTEN_KEEPALIVE int vm_add_favourite() {
    const bool added = game->bookmarks().AddCurrentPage();
    if (added) {
        game->FavouritesChanged();
        game->SaveGame();
    }
    return added;
}
EMSCRIPTEN_KEEPALIVE int vm_delete_favourite(int index) {
    const bool deleted =
        index >= 0 && game->bookmarks().DeleteFavourite(static_cast<size_t>(index));
    if (deleted) {
        game->FavouritesChanged();
        game->SaveGame();
    }
    return deleted;
}
EMSCRIPTEN_KEEPALIVE int vm_home_address() {
    return Answer(game->bookmarks().homeAddress());
}
EMSCRIPTEN_KEEPALIVE void vm_home_to_current() {
    game->bookmarks().SetHomeToCurrentPage();
}
EMSCRIPTEN_KEEPALIVE void vm_home_to_standard() {
    game->bookmarks().SetHomeToStandard();
}

// Saves.
EMSCRIPTEN_KEEPALIVE void vm_save() {
    game->SaveGame();
}
EMSCRIPTEN_KEEPALIVE int vm_save_bytes() {
    const std::vector<uint8_t> bytes = game->SaveBytes();
    return Answer(std::string(bytes.begin(), bytes.end()));
}
EMSCRIPTEN_KEEPALIVE int vm_load_save(const uint8_t* bytes, int length) {
    return game->LoadSave(std::vector<uint8_t>(bytes, bytes + (bytes != nullptr ? length : 0)));
}

// For tests and world makers: a page opened by its file name, as Ctrl+O
// does; and the page shown with the visited list, one name a line.
EMSCRIPTEN_KEEPALIVE void vm_open_page(const char* name, int length) {
    game->session().OpenPage(Text(name, length), BrowserSession::OpenMode::New);
}
EMSCRIPTEN_KEEPALIVE int vm_page_state() {
    const TokenList* page = game->session().currentPage();
    std::string lines = page != nullptr ? page->name() + "\n" : "\n";
    lines += game->state().pluginMissing == 0 ? "1\n" : "0\n";
    for (const std::string& name : game->visited().names()) {
        lines += name + "\n";
    }
    return Answer(lines);
}

// A file the page fetches as the game goes (a sound) did not come.
EMSCRIPTEN_KEEPALIVE void vm_fetch_failed() {
    game->FetchFailed();
}

// The layout of the page shown, as the page preview tool prints it.
EMSCRIPTEN_KEEPALIVE int vm_dump() {
    return Answer(game->DumpLayout());
}

}  // extern "C"
