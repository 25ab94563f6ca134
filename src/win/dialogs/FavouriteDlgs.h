#pragma once

#include <functional>
#include <vector>

#include "framework/Dialog.h"
#include "game/SaveFile.h"
#include "html/Geometry.h"

class Bookmarks;

// Fills a list box with the titles of the favourites, in list order, wide
// enough to scroll to the end of the longest.
void FillFavouriteList(HWND list, const std::vector<Favourite>& favourites);

// "Add the page shown to the favourites?": OK (はい) or Cancel (いいえ).
class CFavouriteAddDlg : public CDialog {
  public:
    explicit CFavouriteAddDlg(HWND owner);
};

// Deletes favourites one at a time, the dialog staying open; `changed` runs
// after each deletion.
class CFavouriteDeleteDlg : public CDialog {
  public:
    CFavouriteDeleteDlg(HWND owner, Bookmarks& bookmarks, std::function<void()> changed);

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

  private:
    void OnDelete();
    HWND list() const;

    Bookmarks& bookmarks_;
    std::function<void()> changed_;
};

// The favourites window: modeless, hidden until shown, a list of the
// favourites' titles in which a double-click opens one. Escape and the close
// box hide it; Enter does nothing. It remembers where the player left it.
class CFavouritesWnd : public CDialog {
  public:
    CFavouritesWnd();

    // Where the window stands when it is made.
    void SetPosition(Point position) { x_ = position.x, y_ = position.y; }
    // Where it stands now, or stood when it was destroyed.
    Point position() const;

    bool Create(HWND owner) { return CDialog::Create(owner); }
    void SetFavouriteList(Bookmarks* bookmarks);
    void FillList();
    // Hides the window, or fills its list afresh and shows it.
    void ToggleVisible();
    HWND list() const;

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override {}

  private:
    void OnDoubleClick();
    void OnOutOfSpace();
    void OnDestroy();

    int y_ = 0;
    int x_ = 0;
    Bookmarks* bookmarks_ = nullptr;
};
