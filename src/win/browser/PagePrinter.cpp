#include "browser/PagePrinter.h"

#include <commdlg.h>

#include <vector>

#include "browser/PrintPlan.h"
#include "framework/Gdi.h"

namespace {

// The page's pixels as 24-bit rows, top row first.
std::vector<uint8_t> TopDownPixels(HBITMAP page, int width, int height, BITMAPINFO& info) {
    info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(height));
    WindowDC screen(nullptr);
    if (GetDIBits(screen.get(), page, 0, static_cast<UINT>(height), pixels.data(), &info,
                  DIB_RGB_COLORS) == 0) {
        pixels.clear();
    }
    return pixels;
}

}  // namespace

CPagePrinter::~CPagePrinter() {
    GlobalFree(devMode_);
    GlobalFree(devNames_);
}

bool CPagePrinter::Print(HWND owner, HBITMAP page, int width, int height,
                         const std::wstring& title) {
    if (page == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = devMode_;
    dialog.hDevNames = devNames_;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
    const BOOL chosen = PrintDlgW(&dialog);
    devMode_ = dialog.hDevMode;
    devNames_ = dialog.hDevNames;
    if (!chosen || dialog.hDC == nullptr) {
        return false;
    }
    HDC printer = dialog.hDC;
    BITMAPINFO info;
    const std::vector<uint8_t> pixels = TopDownPixels(page, width, height, info);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const int paperWidth = GetDeviceCaps(printer, HORZRES);
    const int paperHeight = GetDeviceCaps(printer, VERTRES);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title.c_str();
    bool printed = !pixels.empty() && StartDocW(printer, &document) > 0;
    if (printed) {
        SetStretchBltMode(printer, HALFTONE);
        for (const PrintSheet& sheet : PlanPrint(width, height, paperWidth, paperHeight)) {
            BITMAPINFO rows = info;
            rows.bmiHeader.biHeight = -sheet.sourceHeight;
            printed = printed && StartPage(printer) > 0 &&
                      StretchDIBits(printer, 0, 0, paperWidth, sheet.paperHeight, 0, 0, width,
                                    sheet.sourceHeight,
                                    pixels.data() + stride * static_cast<size_t>(sheet.sourceTop),
                                    &rows, DIB_RGB_COLORS, SRCCOPY) > 0 &&
                      EndPage(printer) > 0;
        }
        if (printed) {
            EndDoc(printer);
        } else {
            AbortDoc(printer);
        }
    }
    DeleteDC(printer);
    return printed;
}

void CPagePrinter::PageSetup(HWND owner) {
    PAGESETUPDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = devMode_;
    dialog.hDevNames = devNames_;
    PageSetupDlgW(&dialog);
    devMode_ = dialog.hDevMode;
    devNames_ = dialog.hDevNames;
}
