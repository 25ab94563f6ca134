#include "bars/AddressBar.h"

#include "framework/Text.h"

void CAddressBar::ShowAddress(const std::string& cp932Address) {
    if (combo() != nullptr) {
        SetWindowTextW(combo(), Widen(cp932Address).c_str());
    }
}

void CAddressBar::SetEntries(const std::vector<std::string>& addresses) {
    HWND box = combo();
    if (box == nullptr) {
        return;
    }
    for (const std::string& address : addresses) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(address).c_str()));
    }
}

void CAddressBar::KeepEntries() {
    savedEntries_.clear();
    HWND box = combo();
    if (box == nullptr) {
        return;
    }
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) {
            continue;
        }
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        savedEntries_.push_back(Narrow(text));
    }
}
