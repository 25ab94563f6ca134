// Drawing links and finding the link under a point.

#include "html/PageReferences.h"
#include "html/TokenList.h"

void TokenList::DrawLink(LinkElement& link, Canvas& canvas) {
    link.visited = host_ != nullptr && host_->IsVisited(link.target);
    const Colour colour = link.visited ? kVisitedLinkColour : kUnvisitedLinkColour;
    const bool transparent = canvas.SetTransparentText(true);
    switch (link.kind) {
        case LinkElement::kText: {
            const CanvasFont* font = canvas.SelectFont(link.font.get());
            const Colour previous = canvas.SetTextColour(colour);
            canvas.DrawWrappedText(link.HitRect(), link.text);
            canvas.SetTextColour(previous);
            canvas.SelectFont(font);
            break;
        }
        case LinkElement::kImage:
            canvas.FillRect(link.HitRect(), colour);
            if (link.picture != nullptr) {
                canvas.StretchPicture(
                    *link.picture,
                    Rect::FromSize(link.x + 2, link.y + 2, link.width - 4, link.height - 4));
            }
            break;
        case LinkElement::kAnchor: {
            const CanvasFont* font = canvas.SelectFont(link.font.get());
            canvas.DrawTextAt(link.x, link.y, link.text);
            canvas.SelectFont(font);
            break;
        }
        case LinkElement::kNone:
            break;
    }
    canvas.SetTransparentText(transparent);
}

LinkElement* TokenList::HitTest(Point point) const {
    for (const auto& link : links_) {
        if (link->HitRect().Contains(point)) {
            return link.get();
        }
    }
    return nullptr;
}

std::vector<std::string> TokenList::LinkTargets() const {
    return ReadPageReferences(*this).links;
}
