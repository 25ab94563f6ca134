#include "framework/FrameLayout.h"

#include <algorithm>

FrameLayout LayoutFrame(const Rect& client, const std::vector<DockedBar>& bars) {
    FrameLayout layout;
    Rect rest = client;
    for (const DockedBar& bar : bars) {
        Rect placed;
        if (bar.visible) {
            const int height = std::clamp(bar.height, 0, std::max(0, rest.height()));
            if (bar.edge == DockedBar::Edge::Top) {
                placed = {rest.left, rest.top, rest.right, rest.top + height};
                rest.top += height;
            } else {
                placed = {rest.left, rest.bottom - height, rest.right, rest.bottom};
                rest.bottom -= height;
            }
        }
        layout.bars.push_back(placed);
    }
    layout.view = rest;
    return layout;
}
