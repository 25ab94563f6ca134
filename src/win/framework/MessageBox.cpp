#include "framework/MessageBox.h"

#include <windows.h>

#include "Message.h"
#include "framework/Text.h"

namespace {

std::wstring g_caption;

void ShowMessageBox(const std::string& text) {
    MessageBoxW(GetActiveWindow(), Widen(text).c_str(), g_caption.c_str(), MB_OK);
}

}  // namespace

void SetMessageCaption(const std::string& cp932Caption) {
    g_caption = Widen(cp932Caption);
}

void UseMessageBoxes() {
    SetMessageHandler(ShowMessageBox);
}
