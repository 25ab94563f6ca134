#pragma once

#include "framework/ControlBar.h"

// The bar of picture buttons under the address bar. It also keeps the text
// size offset that every page font's height includes.
class CToolButton : public CDialogBar {
  public:
    static constexpr UINT kTemplateId = 155;

    CToolButton() : CDialogBar(kTemplateId) {}

    int textSizeOffset() const { return textSizeOffset_; }

  private:
    int textSizeOffset_ = -3;
};
