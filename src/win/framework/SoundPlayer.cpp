#include "framework/SoundPlayer.h"

#include "framework/Text.h"
#include "text/ShiftJis.h"

namespace {

class WindowsMediaControl : public MediaControl {
  public:
    MCIERROR Send(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR params) override {
        return mciSendCommandW(device, command, flags, params);
    }
};

template <class Params>
DWORD_PTR Pass(Params& params) {
    return reinterpret_cast<DWORD_PTR>(&params);
}

}  // namespace

MediaControl& SystemMediaControl() {
    static WindowsMediaControl media;
    return media;
}

CSoundPlayer::~CSoundPlayer() {
    Close();
}

int CSoundPlayer::Open(const std::string& name) {
    if (EqualsIgnoringAsciiCase(name, fileName_)) {
        return 0;
    }
    fileName_ = name;
    loop_ = 1;
    Close();

    // No device type: the platform picks the device from the file.
    const std::wstring element = Widen(name);
    open_ = MCI_OPEN_PARMSW{};
    open_.lpstrElementName = element.c_str();
    const MCIERROR opened = media_.Send(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, Pass(open_));
    open_.lpstrElementName = nullptr;
    if (opened != 0) {
        open_.wDeviceID = 0;
        return 0;
    }

    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    if (media_.Send(open_.wDeviceID, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, Pass(set)) != 0) {
        // Not left open behind a result that says no device was opened. A
        // device that cannot even be closed is given up all the same.
        Close();
        open_.wDeviceID = 0;
        return 0;
    }
    return 1;
}

int CSoundPlayer::Play(HWND window) {
    if (open_.wDeviceID == 0) {
        return 0;
    }
    MCI_SEEK_PARMS seek{};
    media_.Send(open_.wDeviceID, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, Pass(seek));
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(window);
    if (media_.Send(open_.wDeviceID, MCI_PLAY, MCI_NOTIFY, Pass(play)) != 0) {
        Close();
        return 0;
    }
    return 1;
}

void CSoundPlayer::Stop() {
    if (open_.wDeviceID == 0) {
        return;
    }
    MCI_GENERIC_PARMS stop{};
    media_.Send(open_.wDeviceID, MCI_STOP, MCI_WAIT, Pass(stop));
}

void CSoundPlayer::Close() {
    if (open_.wDeviceID == 0) {
        return;
    }
    Stop();
    MCI_GENERIC_PARMS close{};
    if (media_.Send(open_.wDeviceID, MCI_CLOSE, MCI_WAIT, Pass(close)) == 0) {
        open_.wDeviceID = 0;
    }
}
