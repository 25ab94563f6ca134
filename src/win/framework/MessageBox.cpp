#include "framework/MessageBox.h"

#include <windows.h>

#include "Message.h"
#include "framework/Dialog.h"
#include "framework/Text.h"
#include "framework/WinApp.h"

namespace {

std::wstring g_caption;

// A box belongs to the modal window running (which belongs to the main
// window), else to the active or the main window, so that nothing behind it
// takes clicks while it is open.
HWND Owner() {
    if (HWND modal = CDialog::InnermostModal()) {
        return modal;
    }
    if (HWND active = GetActiveWindow()) {
        return active;
    }
    const CWinApp* app = CWinApp::Current();
    return app != nullptr && app->mainWindow() != nullptr ? app->mainWindow()->GetSafeHwnd()
                                                          : nullptr;
}

void ShowMessageBox(const std::string& text) {
    MessageBoxW(Owner(), Widen(text).c_str(), g_caption.c_str(), MB_OK);
}

}  // namespace

void SetMessageCaption(const std::string& cp932Caption) {
    g_caption = Widen(cp932Caption);
}

void UseMessageBoxes() {
    SetMessageHandler(ShowMessageBox);
}
