#pragma once

#include <windows.h>

#include <string>

#include "framework/Dialog.h"

// Something a frame docks at its top or bottom edge, at a fixed height.
class CControlBar {
  public:
    enum class Edge { Top, Bottom };

    virtual ~CControlBar() = default;
    virtual HWND BarWindow() const = 0;
    virtual int BarHeight() const = 0;

    Edge edge() const { return edge_; }
    bool IsVisible() const { return BarWindow() != nullptr && IsWindowVisible(BarWindow()); }
    void Show(bool visible) {
        if (BarWindow() != nullptr) {
            ShowWindow(BarWindow(), visible ? SW_SHOW : SW_HIDE);
        }
    }

  protected:
    Edge edge_ = Edge::Top;
};

// A bar made from a child dialog template, as tall as the template. Unlike a
// dialog it never ends itself: Enter and Escape in it do not hide it.
class CDialogBar : public CDialog, public CControlBar {
  public:
    explicit CDialogBar(UINT templateId) : CDialog(templateId) {}

    bool CreateBar(HWND parent, UINT id, Edge edge);
    HWND BarWindow() const override { return GetSafeHwnd(); }
    int BarHeight() const override { return height_; }

    // The frame's shortcuts come before the bar's dialog keys, so that they
    // work while the focus is in the bar.
    bool PreTranslateMessage(MSG& message) override;

  protected:
    void OnOK() override {}
    void OnCancel() override {}

  private:
    int height_ = 0;
};

// The status bar: one stretching text pane.
class CStatusBar : public CControlBar {
  public:
    CStatusBar() { edge_ = Edge::Bottom; }
    ~CStatusBar() override;
    CStatusBar(const CStatusBar&) = delete;
    CStatusBar& operator=(const CStatusBar&) = delete;

    bool Create(HWND parent, UINT id);
    void Destroy();
    void SetText(const std::string& cp932);
    std::string GetText() const;
    HWND BarWindow() const override { return hwnd_; }
    int BarHeight() const override;

  private:
    HWND hwnd_ = nullptr;
};
