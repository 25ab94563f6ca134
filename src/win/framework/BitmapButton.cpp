#include "framework/BitmapButton.h"

namespace {

HBITMAP LoadBitmapResource(UINT id) {
    return id == 0 ? nullptr : LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
}

}  // namespace

CBitmapButton::~CBitmapButton() {
    // The window goes before the bitmaps it shows.
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        DestroyWindow(hwnd_);
    }
}

bool CBitmapButton::Create(HWND parent, UINT id, const RECT& rect, DWORD style) {
    hwnd_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | style,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                            parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    id_ = id;
    return hwnd_ != nullptr;
}

bool CBitmapButton::LoadBitmaps(UINT normal, UINT pressed, UINT focused, UINT disabled) {
    normal_.reset(LoadBitmapResource(normal));
    pressed_.reset(LoadBitmapResource(pressed));
    focused_.reset(LoadBitmapResource(focused));
    disabled_.reset(LoadBitmapResource(disabled));
    return static_cast<bool>(normal_);
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    HBITMAP shown = normal_.get();
    if ((item.itemState & ODS_SELECTED) && pressed_) {
        shown = pressed_.get();
    } else if ((item.itemState & ODS_FOCUS) && focused_) {
        shown = focused_.get();
    } else if ((item.itemState & ODS_DISABLED) && disabled_) {
        shown = disabled_.get();
    }
    if (shown == nullptr) {
        return;
    }
    MemoryDC memory(item.hDC);
    SelectInto select(memory.get(), shown);
    const RECT& r = item.rcItem;
    BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), 0, 0,
           SRCCOPY);
}
