#pragma once

#include <windows.h>

#include <string>

class CWnd;

// The application object: start-up, the message loop with idle processing,
// shut-down, and the registry profile. One exists at a time.
class CWinApp {
  public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    static CWinApp* Current() { return current_; }

    // InitInstance, then the message loop if it succeeded, then ExitInstance
    // on every path; returns ExitInstance's exit code.
    int Run();

    // Start-up; false ends the program before the message loop.
    virtual bool InitInstance() { return true; }
    // Shut-down; returns the exit code.
    virtual int ExitInstance() { return exitCode_; }
    // Called again and again while the message queue is empty, `count` counting
    // the calls since the last message; return false to wait for the next message.
    virtual bool OnIdle(long count);
    // Commands no window took (the frame passes them on); true when handled.
    virtual bool OnCommand(UINT id);

    HINSTANCE instance() const { return instance_; }
    CWnd* mainWindow() const { return mainWindow_; }
    void setMainWindow(CWnd* window) { mainWindow_ = window; }

    // The application's name from string 57344: message box captions and the
    // registry subkey.
    const std::string& appName() const { return appName_; }
    void LoadAppName(UINT stringId);

    // Profile values live under HKEY_CURRENT_USER\Software\<key>\<appName>\<section>.
    void SetRegistryKey(const std::string& key) { registryKey_ = key; }
    const std::string& registryKey() const { return registryKey_; }
    int GetProfileInt(const std::string& section, const std::string& entry, int fallback) const;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value);

    // Offers a message to the window it is for, then to its parents
    // (accelerators, dialog keys); true when one of them took it.
    bool PreTranslate(MSG& message);

  private:
    int MessageLoop();
    std::wstring ProfileKeyPath(const std::string& section) const;

    static CWinApp* current_;
    HINSTANCE instance_;
    CWnd* mainWindow_ = nullptr;
    std::string appName_;
    std::string registryKey_;
    int exitCode_ = 0;
};

// Loads a string resource as code page 932 text; empty when there is none.
std::string LoadResourceString(UINT id);

// Lets windows paint and answer the system during a long task: every message
// waiting is dispatched, except the player's keys and clicks, which are
// dropped, so that the task is never interrupted by them.
void DispatchAllButInput();
