#pragma once

#include <array>
#include <string>

#include "WorldArchives.h"
#include "game/TitleShow.h"
#include "picture/DibPicture.h"

// The title screen of the web edition: the core's slide show, blended here
// and handed to the page's title canvas. The page runs the timers it is told.
class WebTitle {
  public:
    // Loads the pictures from the archives in the current folder, shows the
    // still title (black without its picture) and starts its timer.
    std::string Start(const WorldArchives& world);
    // What timer `id` does; the answer is what the page does with its timers
    // (see Timers).
    std::string OnTimer(int id);
    // A click on the title: "enter" when the still title was shown, else the
    // show goes back to the still title.
    std::string OnClick();

  private:
    // "stop ID ID ...;start ID PERIOD" as the step asks.
    static std::string Timers(const TitleStep& step);
    void Show();

    DibPicture screen_;
    std::array<DibPicture, kTitlePictureCount> pictures_;
    TitleShow show_;
};
