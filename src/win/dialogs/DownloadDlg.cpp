#include "dialogs/DownloadDlg.h"

#include <commdlg.h>

#include <vector>

#include "Message.h"
#include "framework/Files.h"
#include "framework/Text.h"
#include "game/Download.h"
#include "resource.h"
#include "text/ShiftJis.h"

namespace {

// The name is shown and offered as typed into the save dialog, never longer.
constexpr size_t kShownNameBytes = 255;

}  // namespace

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
                    Widen(CutAtCharacter(fileName_, kShownNameBytes)).c_str());
    SetFocus(GetDlgItem(GetSafeHwnd(), IDC_DOWNLOAD_OK));
    return FALSE;  // the focus is set
}

std::optional<std::wstring> DownloadDialog::AskSavePath() {
    // Room for a long path typed by the player; the offered name fits many times.
    std::vector<wchar_t> path(4096, L'\0');
    const std::wstring offered = Widen(CutAtCharacter(fileName_, kShownNameBytes));
    offered.copy(path.data(), path.size() - 1);
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        windows[0] = L'\0';
    }

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetSafeHwnd();
    ofn.lpstrFilter = L"DownLoad Files (*.*)\0*.*\0\0";
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = windows[0] != L'\0' ? windows : nullptr;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
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
