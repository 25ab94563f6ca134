#pragma once

#include "framework/Dialog.h"
#include "game/PluginSetup.h"

// The plug-in's simulated installation. OK runs it to its end on the
// progress bar, without a way to stop it and without handling other
// messages, then tells the player and ends with OK; before OK, Cancel,
// Escape and the close box end it with Cancel.
class CPluginSetupDlg : public CDialog {
  public:
    // The clock and the waits of the program; tests give their own.
    static SetupPacing SystemPacing();

    explicit CPluginSetupDlg(HWND owner, SetupPacing pacing = SystemPacing());

    // The progress bar's last position.
    int position() const { return position_; }

  protected:
    void OnOK() override;
    void OnCancel() override;

  private:
    SetupPacing pacing_;
    bool running_ = false;
    int position_ = 0;
};
