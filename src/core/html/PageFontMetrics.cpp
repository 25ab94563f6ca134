// A first estimate of the page face's metrics (see the header).
#include "html/PageFontMetrics.h"
#include "text/ShiftJis.h"
Size PageCharacterSize(const FontSpec& f, bool d) {
    int h = f.height < 0 ? -f.height : f.height;
    return {d ? h : (h + 1) / 2, h};
}
Size MeasurePageText(const FontSpec& f, std::string_view t) {
    int w = 0;
    for (size_t i = 0; i < t.size();) {
        bool p = IsLeadByte(static_cast<uint8_t>(t[i])) && i + 1 < t.size();
        w += PageCharacterSize(f, p).width;
        i += p ? 2 : 1;
    }
    return {w, PageCharacterSize(f, false).height};
}
int PageFontEmPixels(const FontSpec& f) {
    return f.height < 0 ? -f.height : f.height;
}
int PageFontAscent(const FontSpec& f) {
    return PageFontEmPixels(f) * 88 / 100;
}
std::vector<WrappedLine> WrapPageText(const FontSpec& f, int, std::string_view t) {
    return {{0, t.size(), 0, MeasurePageText(f, t).width}};
}
Size MeasureWrappedPageText(const FontSpec& f, int, std::string_view t) {
    return MeasurePageText(f, t);
}
