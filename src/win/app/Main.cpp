// The program's entry: the one application object runs start-up, the message
// loop and shut-down.

#include <windows.h>

#include "app/BrApp.h"
#include "framework/MessageBox.h"

namespace {
CBrApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    UseMessageBoxes();
    return theApp.Run();
}
