#pragma once

#include <memory>
#include <string>

#include "html/Canvas.h"
#include "html/Geometry.h"

class DibPicture;

// One "<a" element of a page: where it is drawn and hit, and what it leads to.
struct LinkElement {
    enum Kind { kNone = 0, kText = 1, kImage = 2, kAnchor = 3 };

    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    Rect bounds;                          // union of everything drawn inside the link
    bool visited = false;                 // decided each time the link is drawn
    std::unique_ptr<CanvasFont> font;     // the link's text font
    std::string target;                   // "href=" or "name=" value
    const DibPicture* picture = nullptr;  // an image link's picture (held by the page)
    std::string text;                     // the text shown
    Kind kind = kNone;

    // The clickable rectangle: left and top edges inside, right and bottom outside.
    Rect HitRect() const { return Rect::FromSize(x, y, width, height); }
};

// One drawn text token.
struct TextRun {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    LinkElement* link = nullptr;  // the owning link, inside tables
    int inset = 2;
    std::string text;
    std::unique_ptr<CanvasFont> font;
    bool inLink = false;
};
