#pragma once

#include <windows.h>

#include <string>

// Printing from the browser: the platform's print dialog, then the page as
// the view shows it, scaled to the paper's width and run on over as many
// sheets as it needs; and the platform's page set-up. The printer chosen is
// kept from one to the next.
class CPagePrinter {
  public:
    CPagePrinter() = default;
    CPagePrinter(const CPagePrinter&) = delete;
    CPagePrinter& operator=(const CPagePrinter&) = delete;
    ~CPagePrinter();

    // Prints `width` x `height` pixels from the top left of `page`, a bitmap
    // in the screen's format. False when nothing was printed (no printer, the
    // player cancelled, or printing failed).
    bool Print(HWND owner, HBITMAP page, int width, int height, const std::wstring& title);
    void PageSetup(HWND owner);

  private:
    HGLOBAL devMode_ = nullptr;
    HGLOBAL devNames_ = nullptr;
};
