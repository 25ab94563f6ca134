#include "framework/Window.h"

namespace {

constexpr wchar_t kObjectProperty[] = L"Velmora.CWnd";
constexpr wchar_t kWindowClass[] = L"VelmoraWnd";

ATOM RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(128));
        wc.lpszClassName = kWindowClass;
        atom = RegisterClassExW(&wc);
    }
    return atom;
}

bool IsCommandMatch(const MessageEntry& e, WPARAM wParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    // Menus send code 0 and accelerators code 1: both are the same command.
    return e.id == id && (e.code == code || (e.code == 0 && code == 1));
}

}  // namespace

CWnd::~CWnd() {
    // A window outliving its object would call into freed memory.
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        ::DestroyWindow(hwnd_);
    }
    Detach();
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

void CWnd::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProperty, this);
}

void CWnd::Detach() {
    if (hwnd_ != nullptr) {
        RemovePropW(hwnd_, kObjectProperty);
        hwnd_ = nullptr;
    }
}

bool CWnd::CreateEx(DWORD exStyle, const std::wstring& title, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClass(instance, WindowProc)) {
        return false;
    }
    HWND hwnd = CreateWindowExW(exStyle, kWindowClass, title.c_str(), style, x, y, width, height,
                                parent, menu, instance, this);
    return hwnd != nullptr;
}

void CWnd::DestroyWindow() {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        ::DestroyWindow(hwnd_);
    }
}

bool CWnd::PreTranslateMessage(MSG&) {
    return false;
}

const MessageMap* CWnd::GetMessageMap() const {
    static const MessageMap map{nullptr, {}};
    return &map;
}

const MessageEntry* CWnd::FindEntry(const MessageMap* map, UINT message, WPARAM wParam) {
    for (; map != nullptr; map = map->base) {
        for (const MessageEntry& e : map->entries) {
            if (e.message == message && (message != WM_COMMAND || IsCommandMatch(e, wParam))) {
                return &e;
            }
        }
    }
    return nullptr;
}

bool CWnd::HandleCommand(WPARAM wParam, LPARAM lParam) {
    const MessageEntry* entry = FindEntry(GetMessageMap(), WM_COMMAND, wParam);
    if (entry == nullptr) {
        return false;
    }
    entry->call(*this, wParam, lParam);
    return true;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && RouteCommand(wParam, lParam)) {
        lastHandled_ = true;
        return 0;
    }
    const Current outer = current_;
    current_ = {message, wParam, lParam};
    const MessageEntry* entry = FindEntry(GetMessageMap(), message, wParam);
    lastHandled_ = entry != nullptr;
    const LRESULT result =
        entry ? entry->call(*this, wParam, lParam) : DefaultProc(message, wParam, lParam);
    lastHandled_ = entry != nullptr;
    current_ = outer;
    return result;
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefaultProc(current_.message, current_.wParam, current_.lParam);
}

LRESULT CALLBACK CWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(hwnd);
    if (self == nullptr && message == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self != nullptr) {
            self->Attach(hwnd);
        }
    }
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        result = self->Dispatch(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's code; the message counts as unhandled.
        result = DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        self->Detach();
        self->OnFinalDestroy();
    }
    return result;
}
