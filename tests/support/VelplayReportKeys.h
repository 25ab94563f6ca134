#pragma once

#include <array>
#include <string_view>

// The keys of every velplay report, in the order velplay writes them. Written
// out here, not taken from the runner, so that a change there shows.
inline constexpr std::array<std::string_view, 19> kVelplayReportKeys = {
    "page",          "stage",     "pageCounter",    "killerCounter", "pluginMissing", "umakerPage",
    "kyoumakerPage", "notesRead", "passwordSolved", "sound",         "prompt",        "address",
    "scene",         "pictures",  "message",        "error",         "download",      "favourites",
    "home"};
