#pragma once

#include <string>
#include <vector>

#include "framework/ControlBar.h"
#include "framework/Window.h"

// A top-level frame: docked bars around one view, commands routed to the view
// first, then the frame, then the application; menu prompts in the status
// bar and check marks from the frame's command states.
class CFrameWnd : public CWnd {
  public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    // The view's child window id.
    static constexpr UINT kViewId = 0xE900;

    // Bars are laid out in the order they are added.
    void AddBar(CControlBar* bar) { bars_.push_back(bar); }
    void RecalcLayout();

    CWnd* activeView() const { return view_; }
    void SetActiveView(CWnd* view) { view_ = view; }

    bool PreTranslateMessage(MSG& message) override;

  protected:
    const MessageMap* GetMessageMap() const override;
    bool RouteCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows a menu item's prompt, or the idle text when the menu closes.
    virtual void ShowPrompt(const std::string& text) { (void)text; }
    // Whether a menu command shows a check mark; false when the frame has no say.
    virtual bool IsCommandChecked(UINT id, bool& checked) {
        (void)id;
        (void)checked;
        return false;
    }

    HACCEL accelerators_ = nullptr;

  private:
    // The shortcuts without those an edit control has for itself (copy, cut,
    // paste, undo), used while the focus is in one.
    HACCEL TextAccelerators();

    void OnSize(UINT type, SIZE size);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    void OnSetFocus();

    std::vector<CControlBar*> bars_;
    CWnd* view_ = nullptr;
    HACCEL textAccelerators_ = nullptr;
    // An Alt shortcut was taken: the release of Alt must not select the menu bar.
    bool altShortcutTaken_ = false;
};
