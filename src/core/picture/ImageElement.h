#pragma once

#include <string>
#include <string_view>

#include "html/Canvas.h"
#include "html/Elements.h"
#include "html/PageHost.h"

class DibPicture;

// A picture in a table cell: drawn at its place, framed in the link colours
// when it is a link, and with a see-through background when its name asks for
// one.
class ImageElement {
  public:
    virtual ~ImageElement() = default;

    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    LinkElement* link = nullptr;
    const DibPicture* picture = nullptr;  // held by the page's picture slot
    std::string name;                     // the picture's normalised name

    // A link's frame is drawn (and becomes its clickable area) even when the
    // picture could not be loaded.
    void Draw(Canvas& canvas, const PageHost& host);

    // Names ending in "s" or "sm" before ".bmp", ".jpg" or ".gif" (any case).
    static bool IsTransparentName(std::string_view name);
};
