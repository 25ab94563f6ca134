#pragma once
// The page face's metrics. A first estimate: half-width characters half
// the cell, double-byte ones the whole cell; to be replaced by measured values.
#include <string_view>
#include <vector>
#include "html/Canvas.h"
Size PageCharacterSize(const FontSpec&, bool doubleByte);
Size MeasurePageText(const FontSpec&, std::string_view cp932);
int PageFontEmPixels(const FontSpec&);
int PageFontAscent(const FontSpec&);
struct WrappedLine {
    size_t begin = 0;
    size_t length = 0;
    int y = 0;
    int width = 0;
};
std::vector<WrappedLine> WrapPageText(const FontSpec&, int width, std::string_view cp932);
Size MeasureWrappedPageText(const FontSpec&, int width, std::string_view cp932);
