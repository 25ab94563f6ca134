#pragma once

#include <array>

#include "archive/Archive.h"
#include "picture/DibPicture.h"

// The world's four archives, opened once when the page has fetched them (in
// the current folder), before the title: the title and the browser read the
// same ones, and a missing or damaged archive is told once, as the Windows
// edition tells it at its start.
struct WorldArchives {
    static constexpr std::array<const char*, 4> kNames = {"cg.arc", "ex.arc", "Text.arc",
                                                          "parts.arc"};
    enum Index { kCg = 0, kEx = 1, kText = 2, kParts = 3 };

    void Open() {
        for (size_t i = 0; i < archives.size(); ++i) {
            archives[i].Open(kNames[i]);
        }
    }
    PictureSources pictures() const { return {&archives[kCg], &archives[kEx], &archives[kParts]}; }

    std::array<Archive, 4> archives;
};
