#pragma once

#include <vector>

#include "html/Geometry.h"

// The frame's layout arithmetic: bars docked at the top are peeled off the
// client area from the top in their order, bars docked at the bottom from the
// bottom, and the view gets what is left.
struct DockedBar {
    enum class Edge { Top, Bottom };
    Edge edge = Edge::Top;
    int height = 0;
    bool visible = true;
};

struct FrameLayout {
    std::vector<Rect> bars;  // one per bar, in the same order; empty for hidden bars
    Rect view;
};

FrameLayout LayoutFrame(const Rect& client, const std::vector<DockedBar>& bars);
