#pragma once

#include <array>
#include <cstdint>

// The numbers of the browser's chrome that every edition shows alike: the
// animated logo, the tool buttons and the progress bar. The windows of the
// Windows edition and the web page's chrome both take them from here.
namespace chrome {

// The logo strip at the right end of the menu bar: frames side by side, of
// which the first kLogoFramesShown take turns, one every kLogoIntervalMs at
// the most.
inline constexpr int kLogoFrameWidth = 48;
inline constexpr int kLogoFramesShown = 47;  // of the 48 in the strip
inline constexpr uint32_t kLogoIntervalMs = 90;

// The progress bar in the middle of the status bar.
inline constexpr int kProgressWidth = 180;

// The tool buttons: Back, Forward, Home, Search and Favourites, square, the
// first kFirstButtonLeft from the bar's left, each the next's distance on.
inline constexpr int kToolButtonCount = 5;
inline constexpr int kToolButtonSize = 34;
inline constexpr int kFirstToolButtonLeft = 30;
inline constexpr std::array<int, kToolButtonCount> kToolButtonShifts = {52, 52, 62, 52, 62};

}  // namespace chrome
