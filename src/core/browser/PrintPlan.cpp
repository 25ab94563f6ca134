#include "browser/PrintPlan.h"

#include <algorithm>
#include <cstdint>

std::vector<PrintSheet> PlanPrint(int pageWidth, int pageHeight, int paperWidth, int paperHeight) {
    std::vector<PrintSheet> sheets;
    if (pageWidth <= 0 || pageHeight <= 0 || paperWidth <= 0 || paperHeight <= 0) {
        return sheets;
    }
    // Page rows that fill one sheet at the scale paperWidth / pageWidth.
    const int64_t rowsPerSheet =
        std::max<int64_t>(1, int64_t{paperHeight} * pageWidth / paperWidth);
    for (int64_t top = 0; top < pageHeight; top += rowsPerSheet) {
        const int64_t rows = std::min<int64_t>(rowsPerSheet, pageHeight - top);
        sheets.push_back({static_cast<int>(top), static_cast<int>(rows),
                          static_cast<int>(rows * paperWidth / pageWidth)});
    }
    return sheets;
}
