#pragma once

// <mmsystem.h> needs the types of <windows.h> first.
#include <windows.h>

#include <mmsystem.h>

#include <string>

// The media control interface's command form. The player speaks only
// through it, so that tests can stand in for a machine without audio.
class MediaControl {
  public:
    virtual ~MediaControl() = default;
    // As mciSendCommandW: 0 on success, else the interface's error code.
    virtual MCIERROR Send(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR params) = 0;
};

// The platform's own, through mciSendCommandW.
MediaControl& SystemMediaControl();

// Plays one sound file at a time and tells a window when it has finished
// (MM_MCINOTIFY), so that the window can start it again while loop() is 1.
// Every error of the media layer is swallowed: a missing file is silence.
class CSoundPlayer {
  public:
    CSoundPlayer() : CSoundPlayer(SystemMediaControl()) {}
    explicit CSoundPlayer(MediaControl& media) : media_(media) {}
    virtual ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    // Opens `name` (code page 932, relative to the current directory) in
    // place of the sound it had. 1 when a new device was opened; 0 when it
    // failed, or when `name` is the name it last asked for, ignoring the case
    // of ASCII letters: a sound that is playing then goes on, and a file that
    // could not be opened is not tried again.
    int Open(const std::string& name);
    // Plays the open sound from the start; `window` gets MM_MCINOTIFY at its
    // end. 1 when it plays; 0 without a device, or when playing fails (the
    // device is then closed).
    int Play(HWND window);
    // Stops playing and keeps the device.
    void Stop();
    // Stops and closes the device.
    void Close();

    int loop() const { return loop_; }
    const std::string& fileName() const { return fileName_; }
    // 0 while no device is open; MM_MCINOTIFY carries it in its LPARAM.
    MCIDEVICEID deviceId() const { return open_.wDeviceID; }

  private:
    MediaControl& media_;
    std::string fileName_;
    int loop_ = 1;
    MCI_OPEN_PARMSW open_{};
};
