#include "framework/WinApp.h"

#include "framework/Text.h"
#include "framework/Window.h"

CWinApp* CWinApp::current_ = nullptr;

namespace {

// Input and timer messages that do not mean the user did something keep the
// idle count running, as do repeated mouse moves to the same place.
bool StartsNewIdlePeriod(const MSG& message) {
    static POINT lastMouse{-1, -1};
    static UINT lastMouseMessage = 0;
    if (message.message == WM_MOUSEMOVE || message.message == WM_NCMOUSEMOVE) {
        if (lastMouseMessage == message.message && lastMouse.x == message.pt.x &&
            lastMouse.y == message.pt.y) {
            return false;
        }
        lastMouse = message.pt;
        lastMouseMessage = message.message;
        return true;
    }
    return message.message != WM_PAINT && message.message != 0x0118;  // the system's caret timer
}

}  // namespace

CWinApp::CWinApp() : instance_(GetModuleHandleW(nullptr)) {
    current_ = this;
}

CWinApp::~CWinApp() {
    if (current_ == this) {
        current_ = nullptr;
    }
}

int CWinApp::Run() {
    if (!InitInstance()) {
        return ExitInstance();
    }
    exitCode_ = MessageLoop();
    return ExitInstance();
}

bool CWinApp::OnIdle(long) {
    return false;
}

bool CWinApp::OnCommand(UINT) {
    return false;
}

bool CWinApp::PreTranslate(MSG& message) {
    // The window the message is for, then its parents, may take it first
    // (accelerators, dialog keys).
    for (HWND hwnd = message.hwnd; hwnd != nullptr; hwnd = GetParent(hwnd)) {
        CWnd* window = CWnd::FromHandle(hwnd);
        if (window != nullptr && window->PreTranslateMessage(message)) {
            return true;
        }
    }
    return false;
}

int CWinApp::MessageLoop() {
    long idleCount = 0;
    bool idle = true;
    MSG message;
    for (;;) {
        // Idle processing while the queue is empty. When OnIdle wants more, wait
        // briefly for a message between calls rather than spin the processor.
        while (idle && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) {
                idle = false;
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
        }
        do {
            if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
                return static_cast<int>(message.wParam);
            }
            if (!PreTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (StartsNewIdlePeriod(message)) {
                idle = true;
                idleCount = 0;
            }
        } while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    }
}

void CWinApp::LoadAppName(UINT stringId) {
    appName_ = LoadResourceString(stringId);
}

std::wstring CWinApp::ProfileKeyPath(const std::string& section) const {
    return L"Software\\" + Widen(registryKey_) + L"\\" + Widen(appName_) + L"\\" + Widen(section);
}

int CWinApp::GetProfileInt(const std::string& section, const std::string& entry,
                           int fallback) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ProfileKeyPath(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return fallback;
    }
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    const LSTATUS status = RegQueryValueExW(key, Widen(entry).c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD ? static_cast<int>(value) : fallback;
}

bool CWinApp::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, ProfileKeyPath(section).c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD data = static_cast<DWORD>(value);
    const LSTATUS status = RegSetValueExW(key, Widen(entry).c_str(), 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

std::string LoadResourceString(UINT id) {
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? Narrow(std::wstring_view(text, static_cast<size_t>(length)))
                      : std::string();
}

namespace {

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||
           message == WM_NCMOUSEHOVER || message == WM_NCMOUSELEAVE;
}

}  // namespace

void DispatchAllButInput() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the loop that waits on the task.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!IsInput(message.message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}
