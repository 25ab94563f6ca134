// Pictures of the page flow, the tiled background and horizontal rules.

#include <algorithm>

#include "html/TokenList.h"
#include "text/ShiftJis.h"

int TokenList::RequestedSize(std::string_view token, std::string_view name, int whole) {
    if (!HasAttribute(token, name)) {
        return 0;
    }
    const std::string_view value = AttributeValue(token, name);
    const int number = AttributeNumber(value);
    if (!value.empty() && value.back() == '%') {
        return Bounded(int64_t{number} * whole / 100);
    }
    return Bounded(number);
}

std::string TokenList::PictureName(std::string_view name) const {
    if (host_ != nullptr && host_->PluginInstalled() && host_->CapsLockOn() &&
        EndsWithIgnoringAsciiCase(name, "m.bmp")) {
        return std::string(name.substr(0, name.size() - 5)) + ".bmp";
    }
    return std::string(name);
}

Size TokenList::ImageTag(std::string_view token, Canvas& canvas, LinkElement* link) {
    Layout& l = layout_;
    const Rect client = Client();
    const int requestedWidth = RequestedSize(token, "width", client.width());
    const int requestedHeight = RequestedSize(token, "height", client.height());
    const bool sized = requestedWidth != 0 && requestedHeight != 0;
    Size used{requestedWidth, requestedHeight};

    if (HasAttribute(token, "src")) {
        DibPicture* slot = PictureSlot(token);
        const int w = slot ? slot->width() : 0;
        const int h = slot ? slot->height() : 0;

        const int testWidth = sized ? requestedWidth : w;
        const int room = client.width() - l.leftMargin - 20;
        if (l.centre || l.divisionCentre) {
            l.penX = testWidth < room ? (client.width() - testWidth) / 2 : l.leftMargin;
        }
        if (l.divisionRight) {
            l.penX = testWidth < room ? client.width() - testWidth - 20 : l.leftMargin;
        }

        const int drawWidth = sized ? requestedWidth : w;
        const int drawHeight = sized ? requestedHeight : h;
        if (l.insideLink && link != nullptr) {
            // Drawn later with its frame, by the link itself.
            link->kind = LinkElement::kImage;
            link->picture = slot;
            link->x = l.penX;
            link->y = l.penY - 4;
            link->width = drawWidth + 4;
            link->height = drawHeight + 4;
            link->bounds = Rect::FromSize(l.penX, l.penY, drawWidth + 4, drawHeight + 4);
            l.penX += drawWidth + 4;
            used = {drawWidth + 4, drawHeight + 4};
        } else {
            if (slot != nullptr && !slot->empty()) {
                const Rect area = Rect::FromSize(l.penX, l.penY, drawWidth, drawHeight);
                const std::string& name = slot->name();
                if (EndsWithIgnoringAsciiCase(name, "s.bmp") ||
                    EndsWithIgnoringAsciiCase(name, "sm.bmp")) {
                    canvas.DrawPictureTransparent(*slot, area);
                } else if (sized) {
                    canvas.StretchPicture(*slot, area);
                } else {
                    canvas.CopyPicture(*slot, area);
                }
            }
            l.penX += drawWidth;
            used = {drawWidth, drawHeight};
        }
        ++l.imageIndex;
    }

    AlignPicture(token, used);
    return used;
}

DibPicture* TokenList::PictureSlot(std::string_view token) {
    // Pictures beyond the last slot are neither loaded nor drawn.
    if (layout_.imageIndex >= kImageSlots) {
        return nullptr;
    }
    DibPicture* slot = &imageSlots_[static_cast<size_t>(layout_.imageIndex)];
    if (!imagesLoaded_) {
        slot->Unload();
        host_->LoadPicture(PictureName(AttributeValue(token, "src")), *slot);
    }
    return slot;
}

void TokenList::AlignPicture(std::string_view token, Size used) {
    Layout& l = layout_;
    if (HasAttribute(token, "align")) {
        // Every word is looked for in the whole tag; later ones win.
        if (HasAttribute(token, "left")) {
            l.imageAlignment = PictureAlignment::kLeft;
        }
        if (HasAttribute(token, "right")) {
            l.imageAlignment = PictureAlignment::kRight;
        }
        if (HasAttribute(token, "top")) {
            l.imageAlignment = PictureAlignment::kTop;
            l.pendingShift = used.height;
        }
        if (HasAttribute(token, "center") || HasAttribute(token, "middle")) {
            l.imageAlignment = PictureAlignment::kMiddle;
            l.pendingShift = used.height / 2;
            l.penY += used.height / 2;
        }
        if (HasAttribute(token, "bottom")) {
            l.imageAlignment = PictureAlignment::kBottom;
            l.pendingShift = 0;
            l.penY += used.height;
        }
    }
    if (HasAttribute(token, "hspace")) {
        l.penX += Bounded(AttributeNumber(AttributeValue(token, "hspace")));
    }
    if (HasAttribute(token, "vspace")) {
        l.penY += Bounded(AttributeNumber(AttributeValue(token, "vspace"))) + l.lineHeight;
    }
}

void TokenList::TileBackground(std::string_view name, Canvas& canvas) {
    Layout& l = layout_;
    if (l.imageIndex >= kImageSlots) {
        return;
    }
    DibPicture& slot = imageSlots_[static_cast<size_t>(l.imageIndex)];
    // The first walk covers the whole page; a repainted page only its upper part.
    const bool firstWalk = !imagesLoaded_;
    if (firstWalk) {
        slot.Unload();
        host_->LoadPicture(name, slot);
    }
    const int w = slot.width();
    const int h = slot.height();
    if (w > 0 && h > 0) {
        const int lastX = firstWalk ? 1399 : 1999;
        const int endY = firstWalk ? kMaxPageHeight : 2000;
        for (int y = 0; y < endY; y += h) {
            for (int x = 0; x <= lastX; x += w) {
                canvas.CopyPicture(slot, Rect::FromSize(x, y, w, h));
            }
        }
    }
    ++l.imageIndex;
}

void TokenList::RuleTag(std::string_view token, Canvas& canvas) {
    Layout& l = layout_;
    const int windowWidth = host_->ViewWindowWidth();
    int width = 0;
    if (HasAttribute(token, "width")) {
        width = Bounded(AttributeNumber(AttributeValue(token, "width")));
    } else {
        width = std::max(0, windowWidth - 2 * l.leftMargin);
    }
    const int thickness =
        HasAttribute(token, "size") ? Bounded(AttributeNumber(AttributeValue(token, "size"))) : 2;
    l.penY += l.lineHeight;
    l.penX = std::max(l.leftMargin, (windowWidth - width) / 2);
    canvas.DrawEdge(Rect::FromSize(l.penX, l.penY, width, thickness), EdgeStyle::SunkenInner);
    l.penX = l.leftMargin;
    l.penY += l.lineHeight;
}
