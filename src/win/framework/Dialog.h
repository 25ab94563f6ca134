#pragma once

#include "framework/Window.h"

// A dialog made from a dialog template in the resources, modal or modeless.
// Its messages go through the same tables as any window's; what no handler
// takes is left to the system's dialog manager.
class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, HWND parent = nullptr)
        : templateId_(templateId), parent_(parent) {}

    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // dialog could not be created.
    INT_PTR DoModal();
    // Creates the dialog modeless; it stays until destroyed. A parent given
    // here replaces the one given at construction.
    bool Create(HWND parent = nullptr);
    void EndDialog(INT_PTR result);

    // Enter, Escape and the Tab key work in a modeless dialog too.
    bool PreTranslateMessage(MSG& message) override;

    // The modal dialog running innermost on this thread, or null: what a
    // message box shown meanwhile belongs to.
    static HWND InnermostModal();

  protected:
    // After the dialog is made and before it is shown; return TRUE to let the
    // system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // The OK (1) and Cancel (2) commands: end a modal dialog with that result,
    // hide a modeless one.
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool isModal() const { return modal_; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    bool modal_ = false;
};
