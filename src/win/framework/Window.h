#pragma once

// Windows and how a message reaches its handler.
//
// Every window class of the program lists its handlers in a static table of
// (message, notification code, command id, handler). A window's procedure
// finds its object (stored at creation), looks the message up in the class's
// table, then in its base classes' tables, and calls the first handler that
// matches; a message nobody handles gets the default processing. Handlers get
// decoded arguments, not raw WPARAM/LPARAM: `Crack` below decodes them, one
// overload per handler shape.

#include <windows.h>

#include <span>
#include <string>

class CWnd;

using MessageCall = LRESULT (*)(CWnd& window, WPARAM wParam, LPARAM lParam);

struct MessageEntry {
    UINT message;  // WM_..., WM_COMMAND for commands
    UINT code;     // notification code of a command (0 for menus and accelerators)
    UINT id;       // command or control id; 0 for other messages
    MessageCall call;
};

// A class's table and the table of its base class.
struct MessageMap {
    const MessageMap* base;
    std::span<const MessageEntry> entries;
};

// Handler shapes and how their arguments come out of WPARAM and LPARAM.
namespace crack {

template <class T>
LRESULT Call(T& w, LRESULT (T::*h)(WPARAM, LPARAM), WPARAM wp, LPARAM lp) {
    return (w.*h)(wp, lp);
}
template <class T>
LRESULT Call(T& w, void (T::*h)(), WPARAM, LPARAM) {
    (w.*h)();
    return 0;
}
template <class T>
LRESULT Call(T& w, BOOL (T::*h)(), WPARAM, LPARAM) {
    return (w.*h)();
}
template <class T>
LRESULT Call(T& w, int (T::*h)(const CREATESTRUCTW&), WPARAM, LPARAM lp) {
    return (w.*h)(*reinterpret_cast<const CREATESTRUCTW*>(lp));
}
// WM_SIZE, mouse messages: flags or type in WPARAM, a point or size in LPARAM.
template <class T>
LRESULT Call(T& w, void (T::*h)(UINT, POINT), WPARAM wp, LPARAM lp) {
    (w.*h)(static_cast<UINT>(wp),
           POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
    return 0;
}
template <class T>
LRESULT Call(T& w, void (T::*h)(UINT, SIZE), WPARAM wp, LPARAM lp) {
    (w.*h)(static_cast<UINT>(wp), SIZE{LOWORD(lp), HIWORD(lp)});
    return 0;
}
// WM_TIMER
template <class T>
LRESULT Call(T& w, void (T::*h)(UINT_PTR), WPARAM wp, LPARAM) {
    (w.*h)(static_cast<UINT_PTR>(wp));
    return 0;
}
// WM_ERASEBKGND, WM_PAINT with a device context
template <class T>
LRESULT Call(T& w, BOOL (T::*h)(HDC), WPARAM wp, LPARAM) {
    return (w.*h)(reinterpret_cast<HDC>(wp));
}

template <auto Handler>
struct Adapter;
template <class T, class R, class... A, R (T::*Handler)(A...)>
struct Adapter<Handler> {
    static LRESULT Call(CWnd& w, WPARAM wp, LPARAM lp) {
        return crack::Call(static_cast<T&>(w), Handler, wp, lp);
    }
};

}  // namespace crack

// Table entries, for example:
//   const MessageMap* CMyWnd::GetMessageMap() const {
//       static constexpr MessageEntry kEntries[] = {
//           OnMessage<&CMyWnd::OnSize>(WM_SIZE),
//           OnCommand<&CMyWnd::OnToggleBar>(32831),
//       };
//       static const MessageMap map{CWnd::GetMessageMap(), kEntries};
//       return &map;
//   }
template <auto Handler>
constexpr MessageEntry OnMessage(UINT message) {
    return {message, 0, 0, &crack::Adapter<Handler>::Call};
}
template <auto Handler>
constexpr MessageEntry OnCommand(UINT id, UINT code = 0) {
    return {WM_COMMAND, code, id, &crack::Adapter<Handler>::Call};
}

// The part of a window every class shares: the handle, the dispatch, and the
// default processing.
class CWnd {
  public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return hwnd_; }
    bool HasWindow() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

    // Our object behind a window handle, or null for other windows.
    static CWnd* FromHandle(HWND hwnd);

    // Creates the window with a class of the program's own.
    bool CreateEx(DWORD exStyle, const std::wstring& title, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menu);
    void DestroyWindow();

    // Called by the message loop before a message is dispatched; true when taken.
    virtual bool PreTranslateMessage(MSG& message);

    // Entry point of all messages for this window: the first matching entry of
    // the tables, else the default processing. A command may be taken by
    // RouteCommand first.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs this window's own handler of a command, if its tables have one.
    bool HandleCommand(WPARAM wParam, LPARAM lParam);

  protected:
    virtual const MessageMap* GetMessageMap() const;
    // Processing for messages no handler takes.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled, for handlers that add to it.
    LRESULT Default();
    // Called after the last message, once the window is gone.
    virtual void OnFinalDestroy() {}
    // Offered every command before this window's own tables; true when taken
    // (a frame passes commands to its view first).
    virtual bool RouteCommand(WPARAM, LPARAM) { return false; }

    // Binds this object to a window being created; undone when it is destroyed.
    void Attach(HWND hwnd);
    void Detach();

    // Whether the last Dispatch found a handler (dialogs tell their manager).
    bool lastHandled() const { return lastHandled_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static const MessageEntry* FindEntry(const MessageMap* map, UINT message, WPARAM wParam);

    HWND hwnd_ = nullptr;
    struct Current {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } current_{};
    bool lastHandled_ = false;
};
