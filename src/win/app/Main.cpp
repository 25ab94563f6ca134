// The program's entry: opens the four archives and shows the browser window.

#include <windows.h>

#include <array>
#include <string>

#include "archive/Archive.h"
#include "framework/MessageBox.h"
#include "framework/Text.h"
#include "resource.h"

namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraBrowser";
constexpr wchar_t kWindowTitle[] = L"Brivane";
constexpr std::array<const char*, 4> kArchiveNames = {"cg.arc", "ex.arc", "Text.arc", "parts.arc"};

std::string LoadResourceString(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? Narrow(std::wstring_view(text, static_cast<size_t>(length)))
                      : std::string();
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    SetMessageCaption(LoadResourceString(instance, IDS_APP_TITLE));
    UseMessageBoxes();

    std::array<Archive, kArchiveNames.size()> archives;
    for (size_t i = 0; i < archives.size(); ++i) {
        archives[i].Open(kArchiveNames[i]);
    }

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassW(&windowClass)) {
        return 1;
    }
    HWND window = CreateWindowExW(0, kWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
