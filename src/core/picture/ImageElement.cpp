#include "picture/ImageElement.h"

#include "picture/DibPicture.h"
#include "text/ShiftJis.h"

namespace {

constexpr Colour kVisitedFrame = 0x500050;
constexpr Colour kLinkFrame = 0xff0000;
constexpr int kFrame = 2;

}  // namespace

void ImageElement::Draw(Canvas& canvas, const PageHost& host) {
    if (link != nullptr) {
        // The frame is part of the link, so that a click on it follows the link.
        const Rect frame =
            Rect::FromSize(x - kFrame, y - kFrame, width + 2 * kFrame, height + 2 * kFrame);
        canvas.FillRect(frame, host.IsVisited(link->target) ? kVisitedFrame : kLinkFrame);
        link->x = frame.left;
        link->y = frame.top;
        link->width = frame.width();
        link->height = frame.height();
    }
    if (picture == nullptr || picture->empty()) {
        return;
    }
    if (IsTransparentName(name)) {
        canvas.DrawPictureTransparent(*picture,
                                      Rect::FromSize(x, y, picture->width(), picture->height()));
    } else {
        canvas.CopyPicture(*picture, Rect::FromSize(x, y, width, height));
    }
}

bool ImageElement::IsTransparentName(std::string_view name) {
    for (std::string_view suffix : {"s.bmp", "sm.bmp", "s.jpg", "sm.jpg", "s.gif", "sm.gif"}) {
        if (EndsWithIgnoringAsciiCase(name, suffix)) {
            return true;
        }
    }
    return false;
}
