#include "dialogs/PluginSetupDlg.h"

// <mmsystem.h> and <commctrl.h> need the types of <windows.h> first.
#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>

#include "Message.h"
#include "framework/Clock.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "game/StoryRules.h"
#include "resource.h"

SetupPacing CPluginSetupDlg::SystemPacing() {
    return {MillisecondClock, [] { Sleep(1); }};
}

CPluginSetupDlg::CPluginSetupDlg(HWND owner, SetupPacing pacing)
    : CDialog(IDD_PLUGIN_SETUP, owner), pacing_(std::move(pacing)) {}

void CPluginSetupDlg::OnOK() {
    // The player's input is dropped while it runs; this only keeps a second
    // OK out should one arrive some other way.
    if (running_) {
        return;
    }
    running_ = true;
    HWND hwnd = GetSafeHwnd();
    HWND status = GetDlgItem(hwnd, IDC_PLUGIN_STATUS);
    HWND progress = GetDlgItem(hwnd, IDC_PLUGIN_PROGRESS);
    EnableWindow(GetDlgItem(hwnd, IDOK), FALSE);
    EnableWindow(GetDlgItem(hwnd, IDCANCEL), FALSE);
    EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

    // Millisecond sleeps, so that the steps keep their pace where the
    // system's tick is coarser.
    timeBeginPeriod(1);
    // Between steps the dialog and the browser behind it paint and answer
    // the system, which would otherwise take them for hung after 5 s.
    const SetupPacing answering{pacing_.now, [this] {
                                    pacing_.wait();
                                    DispatchAllButInput();
                                }};
    RunPluginSetupPhases(
        answering,
        [status](const PluginSetupPhase& phase) {
            SetWindowTextW(status, Widen(phase.text).c_str());
            UpdateWindow(status);
        },
        [this, progress](int position) {
            position_ = position;
            SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
            UpdateWindow(progress);
        });
    timeEndPeriod(1);

    // Keys and clicks made while it ran were for nothing; none of them may
    // answer the closing message.
    MSG dropped;
    while (PeekMessageW(&dropped, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
           PeekMessageW(&dropped, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    ShowMessage(std::string(kPluginInstalledText));
    EndDialog(IDOK);
}

void CPluginSetupDlg::OnCancel() {
    if (!running_) {
        CDialog::OnCancel();
    }
}
