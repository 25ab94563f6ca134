#pragma once

#include <string>

#include "framework/Dialog.h"
#include "game/GameState.h"
#include "game/PasswordTable.h"

// Asks for the password of one slot. A right one is told, marked solved in
// the game state and ends the dialog with kAccepted; a wrong one is told and
// the player may try again; Cancel, Escape and the close box give up (2).
class CPasswordDlg : public CDialog {
  public:
    static constexpr INT_PTR kAccepted = 127;

    // `owner` is disabled while the dialog runs.
    CPasswordDlg(HWND owner, int slot, GameState& state, const PasswordLists& passwords);

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override;

  private:
    void OnEditFocus();
    void OnEditBlur();
    HWND edit() const;
    void SelectAll();
    // The input method of the edit box, so that a Japanese password can be
    // typed straight in.
    void SetInputMethodOpen(bool open);

    int slot_;
    GameState& state_;
    const PasswordLists& passwords_;
};
