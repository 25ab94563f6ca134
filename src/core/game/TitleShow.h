#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class DibPicture;

// The title screen's slide show as a schedule: what each timer tick fades,
// between which pictures, and which timer runs next with which period. The
// dialog only blends, paints and sets the timers it is told.
//
// After 12 s on the still title: a full fade title -> dm00; 1 s; a fade of
// the bottom strip dm00 -> dm00a; 4 s; a full fade dm00a -> dm01; and so on to
// the strip fade dm04 -> dm04a; 4 s; a full fade dm04a -> title; then the
// still title again.

inline constexpr int kTitlePictureCount = 11;
inline constexpr std::array<const char*, kTitlePictureCount> kTitlePictureNames = {
    "title.bmp", "dm00.bmp", "dm00a.bmp", "dm01.bmp", "dm01a.bmp", "dm02.bmp",
    "dm02a.bmp", "dm03.bmp", "dm03a.bmp", "dm04.bmp", "dm04a.bmp"};
inline constexpr char kTitleScreenPicture[] = "Title.bmp";
inline constexpr int kTitleWidth = 640;
inline constexpr int kTitleHeight = 480;
inline constexpr int kTitleBitsPerPixel = 24;
// A strip fade changes only the picture's bottom rows.
inline constexpr int kTitleStripRows = 80;
// Steps 0 to 8 of a fade are shown; 8 is the target picture itself.
inline constexpr int kTitleFadeSteps = 9;

enum TitleTimer : int {
    kStillTimer = 1,  // the still title has been shown long enough
    kFadeTimer = 2,   // one step of a full fade
    kPauseTimer = 3,  // the pause before the next full fade
    kStripTimer = 4,  // one step of a strip fade
};

struct TitleStep {
    enum class Fade { None, Full, Strip };
    Fade fade = Fade::None;
    int from = 0;  // pictures (indexes) and step of the fade shown
    int to = 0;
    int step = 0;
    std::vector<int> stopTimers;
    int startTimer = 0;  // 0: none
    uint32_t periodMs = 0;
};

class TitleShow {
  public:
    static constexpr uint32_t kStillMs = 12000;
    static constexpr uint32_t kFadeMs = 0;  // as fast as the system's timer goes
    static constexpr uint32_t kPauseMs = 4000;
    static constexpr uint32_t kStripFirstMs = 1000;
    static constexpr uint32_t kStripNextMs = 1;

    // What the dialog does when timer `id` fires.
    TitleStep OnTimer(int id);
    // A click while the show runs: back to the still title (the dialog shows
    // picture 0 at once); the next show starts from its beginning.
    TitleStep ReturnToTitle();

    bool showingTitle() const { return showingTitle_; }

  private:
    // After a fade's last step: the next pair of pictures, and whether the
    // show is over.
    bool Advance();

    bool showingTitle_ = true;
    int fromIndex_ = 0;
    int toIndex_ = 1;
    int fadeStep_ = 0;
};

// Whether a picture can take part in the show: 640 x 480 pixels at 24 bits,
// uncompressed and bottom-up.
bool IsTitlePicture(const DibPicture& picture);

// Blends the step's fade into `screen`. Nothing happens, and false comes back,
// unless the screen and both pictures are title pictures: pictures of other
// sizes are never blended.
bool ApplyTitleFade(const TitleStep& step, DibPicture& screen,
                    std::span<const DibPicture> pictures);

// The still title again: picture 0 copied into `screen`, only when both are
// title pictures.
bool ShowStillTitle(DibPicture& screen, const DibPicture& title);
