#include "WebScene.h"

#include <emscripten.h>

#include <cstdio>
#include <vector>

#include "WebGame.h"
#include "html/TokenList.h"
#include "text/FontFaces.h"
#include "text/ShiftJis.h"

namespace {

// clang-format off
// The two windows on the page (web/scene.js). The picture window is there
// unless the page lacks it.
EM_JS(int, js_scene_open, (int width, int height), {
    return VelmoraScene.open(width, height) ? 1 : 0;
});
EM_JS(void, js_scene_clear, (), { VelmoraScene.clear(); });
EM_JS(void, js_scene_text, (const char* text, size_t length, const int* xs, size_t count, int y), {
    VelmoraScene.drawText(HEAPU8.slice(text, text + length), HEAP32.slice(xs >> 2, (xs >> 2) + count), y);
});
EM_JS(void, js_scene_picture, (const uint8_t* rgba, int width, int height), {
    VelmoraScene.drawPicture(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height);
});
EM_JS(void, js_scene_show_picture, (), { VelmoraScene.showPicture(); });
EM_JS(void, js_scene_status, (int waiting, int fading), {
    VelmoraScene.setStatus(!!waiting, !!fading);
});
EM_JS(void, js_scene_close, (), { VelmoraScene.close(); });
EM_JS(void, js_scene_timed, (int kind, double ms), { VelmoraScene.timed(kind, ms); });
// 1 when the message window was clicked within `ms`, 0 when the time ran out.
EM_ASYNC_JS(int, js_scene_wait_click, (int ms), {
    return await VelmoraScene.waitForClick(ms) ? 1 : 0;
});
// clang-format on

CharExtent SystemFontExtent(std::string_view character) {
    return {SystemFontTextWidth(character), kSystemFontHeight};
}

}  // namespace

WebScene::WebScene(WebGame& game, const Archive& texts) : game_(game), texts_(texts) {}

int WebScene::typeInterval() const {
    return game_.state().messageWait != 0 ? kTypeInterval : kShortestInterval;
}

void WebScene::Play(ScenarioKind kind, int number) {
    // A text the archive lacks plays as an empty one.
    scene_.Load(texts_, kind, number);
    hasPictureWindow_ = js_scene_open(kClientWidth, kClientHeight) != 0;
    if (hasPictureWindow_) {
        LoadWhitePicture();
    }
    typewriter_.ResetPen();
    for (;;) {
        const SceneStep step = scene_.Next(game_.state());
        switch (step.kind) {
            case SceneStep::Kind::End:
                CloseWithFade();
                return;
            case SceneStep::Kind::Password:
                if (!AskPassword(step.slot)) {
                    // Given up: the scene ends here, without its closing fade.
                    js_scene_close();
                    return;
                }
                break;
            case SceneStep::Kind::Picture:
                ChangePicture(step);
                break;
            case SceneStep::Kind::Label:
                ShowLabel(step.line);
                break;
            case SceneStep::Kind::Text:
                TypeLine(step.line);
                WaitForClick();
                break;
        }
    }
}

void WebScene::LoadWhitePicture() {
    game_.LoadPicture(kScenePictureFormat, shown_);
    WhitenScenePicture(shown_);
}

bool WebScene::AskPassword(int slot) {
    if (!game_.AskPassword(slot)) {
        return false;
    }
    scene_.PasswordAccepted(game_.state());
    // What was solved is kept at once: a tab closed mid-scene keeps it.
    game_.SaveGame();
    return true;
}

void WebScene::ChangePicture(const SceneStep& step) {
    if (!hasPictureWindow_) {
        // No window to show it in: the browser opens the picture's page
        // instead, and the scene goes on.
        char page[32];
        std::snprintf(page, sizeof page, "tou%04d.htm", ScenePictureNumber(step.line).value_or(0));
        game_.session().OpenPage(page, BrowserSession::OpenMode::New);
        return;
    }
    const TokenList* page = game_.session().currentPage();
    game_.LoadPicture(page != nullptr ? page->PictureName(step.picture) : step.picture, next_);
    if (!next_.SameLayout(shown_)) {
        // Missing, damaged or of another format: nothing to fade into.
        next_.Unload();
        return;
    }
    prev_.CopyFrom(shown_);
    if (!pictureShown_) {
        pictureShown_ = true;
        js_scene_show_picture();
    }
    ShowPicture();
    Fade();
}

void WebScene::ShowLabel(const std::string& line) {
    js_scene_clear();
    typewriter_.ResetPen();
    DrawText(0, 0, line);
    // The text that follows starts below the label.
    typewriter_.MoveDown(kSystemFontHeight);
}

void WebScene::TypeLine(const std::string& line) {
    // Wipes a label shown just before; the pen stays below it.
    js_scene_clear();
    typewriter_.StartLine(line);
    const int interval = typeInterval();
    for (;;) {
        emscripten_sleep(static_cast<unsigned>(interval));
        const double start = emscripten_get_now();
        const auto glyph = typewriter_.Tick(kClientWidth, SystemFontExtent);
        if (!glyph) {
            return;
        }
        DrawText(glyph->x, glyph->y, glyph->text);
        js_scene_timed(static_cast<int>(Timing::TypeTick), emscripten_get_now() - start);
    }
}

void WebScene::WaitForClick() {
    // Only a click on the message window, and only once the line is out.
    js_scene_status(1, 0);
    while (js_scene_wait_click(kBlinkInterval) == 0) {
        const Typewriter::Glyph mark = typewriter_.Blink();
        DrawText(mark.x, mark.y, mark.text);
    }
    js_scene_status(0, 0);
    typewriter_.ResetPen();
}

void WebScene::Fade() {
    js_scene_status(0, 1);
    for (int step = 0;; ++step) {
        emscripten_sleep(kShortestInterval);
        if (step >= kFadeSteps) {
            break;
        }
        const double start = emscripten_get_now();
        shown_.Blend(step, prev_, next_);
        ShowPicture();
        js_scene_timed(static_cast<int>(Timing::FadeStep), emscripten_get_now() - start);
    }
    ShowPicture();
    next_.Unload();
    prev_.Unload();
    js_scene_status(0, 0);
}

void WebScene::CloseWithFade() {
    if (hasPictureWindow_) {
        // To white, over exactly the picture window's own pixels.
        prev_.CopyFrom(shown_);
        next_.CopyFrom(shown_);
        next_.Fill(0xFF);
        Fade();
    }
    emscripten_sleep(kCloseDelay);
    js_scene_close();
}

void WebScene::DrawText(int x, int y, const std::string& text) {
    // Each character in its cell of the system font.
    std::vector<int> xs;
    for (size_t i = 0; i < text.size(); ++i) {
        xs.push_back(x);
        const size_t bytes =
            IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
        x += SystemFontTextWidth(std::string_view(text).substr(i, bytes));
        i += bytes - 1;
    }
    js_scene_text(text.data(), text.size(), xs.data(), xs.size(), y);
}

void WebScene::ShowPicture() {
    shown_.ToRgba(false, rgba_);
    if (!rgba_.empty()) {
        js_scene_picture(rgba_.data(), shown_.width(), shown_.height());
    }
}
