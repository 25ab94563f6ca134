#include "bars/AddressBar.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <optional>

#include "Message.h"
#include "browser/AddressBook.h"
#include "browser/BrView.h"
#include "frame/MainFrame.h"
#include "framework/Clock.h"
#include "framework/Text.h"

namespace {

// What the list's notifications share, for every bar of the process.
AddressPicker picker;

std::string ItemText(HWND box, WPARAM index) {
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, index, 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
}

}  // namespace

const MessageMap* CAddressBar::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CAddressBar::OnDestroy>(WM_DESTROY),
    };
    static const MessageMap map{CDialogBar::GetMessageMap(), kEntries};
    return &map;
}

CBrView* CAddressBar::ActiveView() const {
    auto* frame = dynamic_cast<CMainFrame*>(CWnd::FromHandle(GetParent(GetSafeHwnd())));
    return frame != nullptr ? &frame->view() : nullptr;
}

void CAddressBar::ShowAddress(const std::string& cp932Address) {
    if (combo() != nullptr) {
        SetWindowTextW(combo(), Widen(cp932Address).c_str());
    }
}

std::string CAddressBar::BoxText() const {
    HWND box = combo();
    if (box == nullptr) {
        return {};
    }
    const int length = GetWindowTextLengthW(box);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(box, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return Narrow(text);
}

void CAddressBar::SetEntries(const std::vector<std::string>& addresses) {
    for (const std::string& address : EntriesToRestore(addresses)) {
        AddEntry(address);
    }
}

void CAddressBar::AddEntry(const std::string& text) {
    if (HWND box = combo()) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    }
}

std::vector<std::string> CAddressBar::Entries() const {
    std::vector<std::string> entries;
    HWND box = combo();
    if (box == nullptr) {
        return entries;
    }
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        entries.push_back(ItemText(box, static_cast<WPARAM>(i)));
    }
    return entries;
}

std::vector<std::string> CAddressBar::savedEntries() const {
    // Saves made while playing keep the list too, so that it survives a
    // session that never ends normally.
    return HasWindow() ? Entries() : savedEntries_;
}

void CAddressBar::OnDestroy() {
    savedEntries_ = Entries();
    savedEntryCount_ = static_cast<int>(savedEntries_.size());
    Default();
}

void CAddressBar::TrimEntries() {
    HWND box = combo();
    if (box == nullptr) {
        return;
    }
    const auto count =
        static_cast<size_t>(std::max<LRESULT>(SendMessageW(box, CB_GETCOUNT, 0, 0), 0));
    const auto top = static_cast<long>(SendMessageW(box, CB_GETTOPINDEX, 0, 0));
    if (const std::optional<size_t> entry = EntryToTrim(count, top)) {
        SendMessageW(box, CB_DELETESTRING, *entry, 0);
    }
}

bool CAddressBar::RouteCommand(WPARAM wParam, LPARAM) {
    const UINT code = HIWORD(wParam);
    if (code > 10) {
        return false;
    }
    HWND box = combo();
    CBrView* view = ActiveView();
    switch (code) {
        case 0:
            if (LOWORD(wParam) == IDOK) {
                GoToTypedAddress();
            }
            break;
        case CBN_SELCHANGE:
            if (box != nullptr &&
                picker.SelectionChanged(SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != 0)) {
                SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
            }
            break;
        case CBN_DROPDOWN:
            picker.DroppedDown(BoxText());
            break;
        case CBN_CLOSEUP: {
            const LRESULT selected =
                box != nullptr ? SendMessageW(box, CB_GETCURSEL, 0, 0) : CB_ERR;
            std::optional<std::string> picked;
            if (selected != CB_ERR) {
                picked = ItemText(box, static_cast<WPARAM>(selected));
            }
            if (view != nullptr) {
                if (const auto page = picker.ClosedUp(picked, view->searchTable())) {
                    view->OpenPage(*page, CBrView::OpenMode::New);
                }
            }
            break;
        }
        case CBN_SELENDOK:
            picker.SelectionConfirmed();
            break;
        case CBN_SELENDCANCEL:
            ShowCurrentAddress();
            break;
        default:
            break;
    }
    return true;
}

void CAddressBar::ShowCurrentAddress() {
    CBrView* view = ActiveView();
    if (view != nullptr && view->currentPage() != nullptr) {
        ShowAddress(view->currentPage()->address());
    }
}

void CAddressBar::GoToTypedAddress() {
    picker.Typed();
    CBrView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    const TypedAddress typed = DecideTypedAddress(view->searchTable(), BoxText());
    AddEntry(typed.text);
    if (typed.outcome == TypedAddress::Outcome::Open) {
        TrimEntries();
        view->OpenPage(typed.page, CBrView::OpenMode::New);
        return;
    }
    RunFetch(typed.fetchStepMs);
    if (typed.outcome == TypedAddress::Outcome::MissingPage) {
        view->OpenPage(typed.page, CBrView::OpenMode::New);
        SetProgress(PBM_SETPOS, 0, 0);
    } else {
        ShowMessage(kAddressNotFoundText);
        SetProgress(PBM_SETPOS, 0, 0);
        ShowCurrentAddress();
    }
    TrimEntries();
}

void CAddressBar::SetProgress(UINT message, WPARAM wParam, LPARAM lParam) {
    auto* frame = dynamic_cast<CMainFrame*>(CWnd::FromHandle(GetParent(GetSafeHwnd())));
    if (frame != nullptr && frame->progress() != nullptr) {
        SendMessageW(frame->progress(), message, wParam, lParam);
        // Nothing is dispatched while the fetch runs: the control paints now.
        UpdateWindow(frame->progress());
    }
}

void CAddressBar::RunFetch(uint32_t stepMs) {
    SetProgress(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    // Millisecond sleeps, so that the steps keep their pace where the
    // system's tick is coarser.
    timeBeginPeriod(1);
    ::RunFetch(stepMs, {MillisecondClock, [] { Sleep(1); },
                        [this](int position) {
                            SetProgress(PBM_SETPOS, static_cast<WPARAM>(position), 0);
                        }});
    timeEndPeriod(1);
}
