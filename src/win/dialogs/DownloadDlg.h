#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "framework/Dialog.h"

class Archive;

// Offers a file of "ex.arc" for saving: its name, then OK (the button or
// Enter) asks where to put it and writes it there; Cancel closes. The file
// written is the decoded entry, byte for byte, or nothing at all.
class DownloadDialog : public CDialog {
  public:
    DownloadDialog(HWND owner, const Archive& ex);

    // The entry to save, before DoModal.
    void SetFile(const std::string& fileName) { fileName_ = fileName; }
    const std::string& fileName() const { return fileName_; }

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override;

  private:
    // The platform's save dialog; nothing when the player cancels it.
    std::optional<std::wstring> AskSavePath();

    const Archive& ex_;
    std::string fileName_;
};

// Where the save dialog opens: the Windows directory when a file can be made
// there, else the player's Pictures folder; empty lets the dialog choose.
std::wstring InitialDownloadFolder(const std::wstring& windowsDirectory, bool canWrite,
                                   const std::wstring& picturesFolder);

// The longest name the save dialog's name box takes while it shows `folder`:
// the dialog joins the two into a path buffer of MAX_PATH characters of its
// own, and a longer name runs past its end.
size_t DownloadNameRoom(const std::wstring& folder);
