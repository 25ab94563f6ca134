#include "framework/FrameWnd.h"

#include <algorithm>

#include "framework/FrameLayout.h"
#include "framework/WinApp.h"

namespace {

constexpr UINT kIdleMessage = 57345;
// The framework's copy, cut, paste and undo commands.
constexpr UINT kEditingCommands[] = {0xE122, 0xE123, 0xE125, 0xE12B};

bool IsEditControl(HWND hwnd) {
    wchar_t name[16] = {};
    return hwnd != nullptr && GetClassNameW(hwnd, name, 16) > 0 && lstrcmpiW(name, L"Edit") == 0;
}

}  // namespace

CFrameWnd::~CFrameWnd() {
    if (textAccelerators_ != nullptr) {
        DestroyAcceleratorTable(textAccelerators_);
    }
}

const MessageMap* CFrameWnd::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CFrameWnd::OnSize>(WM_SIZE),
        OnMessage<&CFrameWnd::OnMenuSelect>(WM_MENUSELECT),
        OnMessage<&CFrameWnd::OnInitMenuPopup>(WM_INITMENUPOPUP),
        OnMessage<&CFrameWnd::OnSetFocus>(WM_SETFOCUS),
    };
    static const MessageMap map{CWnd::GetMessageMap(), kEntries};
    return &map;
}

void CFrameWnd::RecalcLayout() {
    if (!HasWindow()) {
        return;
    }
    RECT rc;
    GetClientRect(GetSafeHwnd(), &rc);
    std::vector<DockedBar> docked;
    for (const CControlBar* bar : bars_) {
        docked.push_back(
            {bar->edge() == CControlBar::Edge::Top ? DockedBar::Edge::Top : DockedBar::Edge::Bottom,
             bar->BarHeight(), bar->IsVisible()});
    }
    const FrameLayout layout = LayoutFrame({rc.left, rc.top, rc.right, rc.bottom}, docked);
    for (size_t i = 0; i < bars_.size(); ++i) {
        if (docked[i].visible) {
            const Rect& r = layout.bars[i];
            MoveWindow(bars_[i]->BarWindow(), r.left, r.top, r.width(), r.height(), TRUE);
        }
    }
    if (view_ != nullptr && view_->HasWindow()) {
        MoveWindow(view_->GetSafeHwnd(), layout.view.left, layout.view.top, layout.view.width(),
                   layout.view.height(), TRUE);
    }
}

void CFrameWnd::OnSize(UINT, SIZE) {
    Default();
    RecalcLayout();
}

void CFrameWnd::OnSetFocus() {
    if (view_ != nullptr && view_->HasWindow()) {
        SetFocus(view_->GetSafeHwnd());
    }
}

bool CFrameWnd::PreTranslateMessage(MSG& message) {
    if (accelerators_ == nullptr) {
        return false;
    }
    // The system selects the menu bar when Alt is released after a press it
    // saw no other key during; the key of an Alt shortcut never reaches it.
    const bool altKey = message.wParam == VK_MENU;
    const bool repeated = (message.lParam & (1 << 30)) != 0;
    if (message.message == WM_SYSKEYDOWN && altKey && !repeated) {
        altShortcutTaken_ = false;
    } else if ((message.message == WM_SYSKEYUP || message.message == WM_KEYUP) && altKey &&
               altShortcutTaken_) {
        altShortcutTaken_ = false;
        return true;
    }
    HACCEL table = IsEditControl(message.hwnd) ? TextAccelerators() : accelerators_;
    const bool taken =
        table != nullptr && TranslateAcceleratorW(GetSafeHwnd(), table, &message) != 0;
    if (taken && message.message == WM_SYSKEYDOWN) {
        altShortcutTaken_ = true;
    }
    return taken;
}

HACCEL CFrameWnd::TextAccelerators() {
    if (textAccelerators_ == nullptr) {
        const int count = CopyAcceleratorTableW(accelerators_, nullptr, 0);
        std::vector<ACCEL> entries(static_cast<size_t>(std::max(count, 0)));
        CopyAcceleratorTableW(accelerators_, entries.data(), count);
        std::erase_if(entries, [](const ACCEL& entry) {
            return std::find(std::begin(kEditingCommands), std::end(kEditingCommands), entry.cmd) !=
                   std::end(kEditingCommands);
        });
        textAccelerators_ =
            CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
    }
    return textAccelerators_;
}

bool CFrameWnd::RouteCommand(WPARAM wParam, LPARAM lParam) {
    return view_ != nullptr && view_->HandleCommand(wParam, lParam);
}

LRESULT CFrameWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Commands neither the view nor the frame took go on to the application.
    if (message == WM_COMMAND && CWinApp::Current() != nullptr &&
        CWinApp::Current()->OnCommand(LOWORD(wParam))) {
        return 0;
    }
    return CWnd::DefaultProc(message, wParam, lParam);
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    UINT prompt = kIdleMessage;
    if (!(flags == 0xFFFF && lParam == 0) && !(flags & (MF_POPUP | MF_SEPARATOR))) {
        prompt = id;
    }
    // A prompt is the text before the first line break of the command's string.
    std::string text = LoadResourceString(prompt);
    text = text.substr(0, text.find('\n'));
    ShowPrompt(text);
    return 0;
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM) {
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        bool checked = false;
        if (id != 0 && id != static_cast<UINT>(-1) && IsCommandChecked(id, checked)) {
            CheckMenuItem(menu, static_cast<UINT>(i),
                          MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
        }
    }
    return 0;
}
