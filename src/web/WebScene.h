#pragma once

#include <string>
#include <vector>

#include "game/Scene.h"
#include "game/Typewriter.h"
#include "picture/DibPicture.h"

class Archive;
class WebGame;

// The scene player of the web edition: the message window and the picture
// window above it, as the Windows edition's message window plays them. The
// core's scene and typewriter decide every step; this only paces them. It
// runs inside the click that opened the scene, as one sequential loop that
// waits through Asyncify for its timers and for the player's clicks; the page
// makes no other call into the game meanwhile.
class WebScene {
  public:
    // The message window's client area: its dialog template, 219 x 93 dialog
    // units in "ＭＳ Ｐゴシック" 9 pt, as Windows converts them (base units 6 x
    // 12, rounded as MulDiv rounds).
    static constexpr int kClientWidth = 329;
    static constexpr int kClientHeight = 140;

    // The timers, in ms. The Windows edition's shortest ones (its 0 ms
    // typewriter and 1 ms fades) are the page's shortest.
    static constexpr int kTypeInterval = 40;
    static constexpr int kShortestInterval = 10;
    static constexpr int kBlinkInterval = 700;
    static constexpr int kCloseDelay = 300;
    static constexpr int kFadeSteps = 9;  // k = 0..8, the last one the new picture itself

    WebScene(WebGame& game, const Archive& texts);

    // Plays the scene to its end: the text's last line and the fade to white,
    // or a password given up.
    void Play(ScenarioKind kind, int number);

  private:
    enum class Timing { FadeStep = 0, TypeTick = 1 };

    void LoadWhitePicture();
    // False when the password was given up: the scene ends at once.
    bool AskPassword(int slot);
    void ChangePicture(const SceneStep& step);
    void ShowLabel(const std::string& line);
    void TypeLine(const std::string& line);
    void WaitForClick();
    // Nine blended frames from prev_ to next_, then the tick that ends the fade.
    void Fade();
    void CloseWithFade();

    void DrawText(int x, int y, const std::string& text);
    void ShowPicture();
    int typeInterval() const;

    WebGame& game_;
    const Archive& texts_;
    Scene scene_;
    Typewriter typewriter_;
    bool hasPictureWindow_ = false;
    bool pictureShown_ = false;
    DibPicture shown_;  // what the picture window shows
    DibPicture next_;
    DibPicture prev_;
    std::vector<uint8_t> rgba_;  // the picture as the page's canvas takes it
};
