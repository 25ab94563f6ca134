#include "dialogs/DownloadDlg.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
// Not <shlobj.h>: it declares a global `byte` that the text headers shadow.
#include <shfolder.h>

#include <vector>

#include "Message.h"
#include "framework/Files.h"
#include "framework/Text.h"
#include "game/Download.h"
#include "resource.h"
#include "text/ShiftJis.h"

namespace {

std::wstring WindowsDirectory() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return length < MAX_PATH ? std::wstring(folder, length) : L"";
}

std::wstring PicturesFolder() {
    constexpr DWORD kCurrentPath = 0;  // SHGFP_TYPE_CURRENT
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, kCurrentPath, folder))) {
        return L"";
    }
    return folder;
}

// The folder the save dialog shows, as it names it when it joins the name.
std::wstring ShownFolder(HWND dialog) {
    wchar_t folder[MAX_PATH] = {};
    const LRESULT length =
        SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    if (length <= 0 || length > MAX_PATH) {
        // What the dialog takes then too: it keeps it at the folder shown.
        GetCurrentDirectoryW(MAX_PATH, folder);
    }
    return folder;
}

// The edit in which the player types the name: inside the name combo box, or
// the dialog's own in its older layout.
HWND NameEdit(HWND dialog) {
    HWND box = GetDlgItem(dialog, cmb13);
    if (box == nullptr) {
        return GetDlgItem(dialog, edt1);
    }
    if (HWND edit = reinterpret_cast<HWND>(SendMessageW(box, CBEM_GETEDITCONTROL, 0, 0))) {
        return edit;
    }
    return FindWindowExW(box, nullptr, WC_EDITW, nullptr);
}

// Keeps the name to what fits the folder shown, cutting one already there
// (typed before the folder changed, or picked from the list).
void FitName(HWND dialog) {
    HWND edit = NameEdit(dialog);
    if (edit == nullptr) {
        return;
    }
    const size_t room = DownloadNameRoom(ShownFolder(dialog));
    SendMessageW(edit, EM_LIMITTEXT, room, 0);
    const int length = GetWindowTextLengthW(edit);
    if (length > 0 && static_cast<size_t>(length) > room) {
        std::wstring name(static_cast<size_t>(length) + 1, L'\0');
        GetWindowTextW(edit, name.data(), length + 1);
        name.resize(room);
        if (IS_HIGH_SURROGATE(name.back())) {
            name.pop_back();
        }
        SetWindowTextW(edit, name.c_str());
    }
}

UINT_PTR CALLBACK SaveDialogHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
            case CDN_INITDONE:
            case CDN_FOLDERCHANGE:
            case CDN_SELCHANGE:
                FitName(GetParent(hook));
                break;
        }
    }
    return 0;
}

}  // namespace

std::wstring InitialDownloadFolder(const std::wstring& windowsDirectory, bool canWrite,
                                   const std::wstring& picturesFolder) {
    return canWrite ? windowsDirectory : picturesFolder;
}

size_t DownloadNameRoom(const std::wstring& folder) {
    const size_t separator = !folder.empty() && folder.back() == L'\\' ? 0 : 1;
    const size_t taken = folder.size() + separator + 1;  // and the terminating zero
    // A limit of 0 would mean none at all; no folder is that long in practice.
    return taken < MAX_PATH ? MAX_PATH - taken : 1;
}

DownloadDialog::DownloadDialog(HWND owner, const Archive& ex)
    : CDialog(IDD_DOWNLOAD, owner), ex_(ex) {}

const MessageMap* DownloadDialog::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnCommand<&DownloadDialog::OnOK>(IDC_DOWNLOAD_OK, BN_CLICKED),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

BOOL DownloadDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemTextW(GetSafeHwnd(), IDC_DOWNLOAD_FILE,
                    Widen(OfferedDownloadName(fileName_)).c_str());
    SetFocus(GetDlgItem(GetSafeHwnd(), IDC_DOWNLOAD_OK));
    return FALSE;  // the focus is set
}

std::optional<std::wstring> DownloadDialog::AskSavePath() {
    // Room for a long path typed by the player; the offered name fits many times.
    std::vector<wchar_t> path(4096, L'\0');
    const std::wstring offered = Widen(OfferedDownloadName(fileName_));
    offered.copy(path.data(), path.size() - 1);
    const std::wstring windows = WindowsDirectory();
    const std::wstring folder =
        InitialDownloadFolder(windows, CanWriteIn(windows), PicturesFolder());

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetSafeHwnd();
    ofn.lpstrFilter = L"DownLoad Files (*.*)\0*.*\0\0";
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    // The hook keeps the name short enough for the dialog's own path buffer.
    // It hears of folder changes only in the Explorer style, whose places bar
    // stays off so that the dialog looks as it did without one.
    ofn.Flags =
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLEHOOK;
    ofn.FlagsEx = OFN_EX_NOPLACESBAR;
    ofn.lpfnHook = SaveDialogHook;
    if (!GetSaveFileNameW(&ofn)) {
        return std::nullopt;
    }
    return std::wstring(path.data());
}

void DownloadDialog::OnOK() {
    if (const std::optional<std::wstring> path = AskSavePath()) {
        // Written beside the chosen path and moved over it once whole and
        // closed: a failed write leaves no half file, and the old one stays.
        const std::optional<std::vector<uint8_t>> bytes = ReadDownload(ex_, fileName_);
        if (bytes && WriteFileAtomically(*path, *bytes)) {
            MessageBoxW(GetSafeHwnd(), Widen(kDownloadDoneText).c_str(),
                        Widen(kDownloadDoneCaption).c_str(), MB_OK | MB_ICONINFORMATION);
        } else {
            ShowMessage(std::string(kDownloadFailedText));
        }
    }
    EndDialog(IDOK);
}
