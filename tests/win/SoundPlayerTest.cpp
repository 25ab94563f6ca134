#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "framework/SoundPlayer.h"

namespace {

// Stands in for the media layer: opens succeed with device ids 7, 8, ...
// unless told otherwise, and every command is written down.
class FakeMedia : public MediaControl {
  public:
    struct Call {
        MCIDEVICEID device;
        UINT command;
        DWORD_PTR flags;
        std::wstring element;  // MCI_OPEN
        DWORD_PTR callback;    // MCI_PLAY
    };

    MCIERROR Send(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR params) override {
        Call call{device, command, flags, L"", 0};
        const MCIERROR error = errors[command];
        if (command == MCI_OPEN) {
            auto* open = reinterpret_cast<MCI_OPEN_PARMSW*>(params);
            call.element = open->lpstrElementName;
            EXPECT_EQ(open->lpstrDeviceType, nullptr);
            if (error == 0) {
                open->wDeviceID = nextDevice++;
            }
        } else if (command == MCI_PLAY) {
            call.callback = reinterpret_cast<MCI_PLAY_PARMS*>(params)->dwCallback;
        } else if (command == MCI_SET) {
            EXPECT_EQ(reinterpret_cast<MCI_SET_PARMS*>(params)->dwTimeFormat,
                      static_cast<DWORD>(MCI_FORMAT_MILLISECONDS));
        }
        calls.push_back(call);
        return error;
    }

    std::vector<UINT> Commands() const {
        std::vector<UINT> commands;
        for (const Call& call : calls) {
            commands.push_back(call.command);
        }
        return commands;
    }

    std::map<UINT, MCIERROR> errors;
    std::vector<Call> calls;
    MCIDEVICEID nextDevice = 7;
};

const HWND kView = reinterpret_cast<HWND>(0x1234);

TEST(SoundPlayer, OpensPlaysAndClosesThroughTheMediaLayer) {
    FakeMedia media;
    {
        CSoundPlayer player(media);
        EXPECT_EQ(player.Open("wave\\0000.wav"), 1);
        EXPECT_EQ(player.deviceId(), 7u);
        EXPECT_EQ(player.Play(kView), 1);
        ASSERT_EQ(media.Commands(), (std::vector<UINT>{MCI_OPEN, MCI_SET, MCI_SEEK, MCI_PLAY}));
        EXPECT_EQ(media.calls[0].element, L"wave\\0000.wav");
        EXPECT_EQ(media.calls[0].flags, static_cast<DWORD_PTR>(MCI_OPEN_ELEMENT | MCI_WAIT));
        EXPECT_EQ(media.calls[2].flags, static_cast<DWORD_PTR>(MCI_SEEK_TO_START | MCI_WAIT));
        EXPECT_EQ(media.calls[3].flags, static_cast<DWORD_PTR>(MCI_NOTIFY));
        EXPECT_EQ(media.calls[3].callback, reinterpret_cast<DWORD_PTR>(kView));

        // Another sound replaces it: the old device is stopped and closed first.
        media.calls.clear();
        EXPECT_EQ(player.Open("wave\\0001.wav"), 1);
        EXPECT_EQ(media.Commands(), (std::vector<UINT>{MCI_STOP, MCI_CLOSE, MCI_OPEN, MCI_SET}));
        EXPECT_EQ(media.calls[1].device, 7u);
        EXPECT_EQ(player.deviceId(), 8u);
        media.calls.clear();
    }
    // The destructor closes what is open.
    EXPECT_EQ(media.Commands(), (std::vector<UINT>{MCI_STOP, MCI_CLOSE}));
    EXPECT_EQ(media.calls[1].device, 8u);
}

TEST(SoundPlayer, TheSameNameInAnyCaseDoesNotInterruptTheSound) {
    FakeMedia media;
    CSoundPlayer player(media);
    ASSERT_EQ(player.Open("wave\\0002.wav"), 1);
    ASSERT_EQ(player.Play(kView), 1);
    media.calls.clear();
    EXPECT_EQ(player.Open("WAVE\\0002.WAV"), 0);
    EXPECT_EQ(player.Open("Wave\\0002.wav"), 0);
    EXPECT_TRUE(media.calls.empty());
    EXPECT_EQ(player.deviceId(), 7u);
    EXPECT_EQ(player.fileName(), "wave\\0002.wav");
}

TEST(SoundPlayer, AFileThatCannotBeOpenedIsSilenceAndNotRetried) {
    FakeMedia media;
    CSoundPlayer player(media);
    media.errors[MCI_OPEN] = MCIERR_FILE_NOT_FOUND;
    EXPECT_EQ(player.Open("wave\\none.wav"), 0);
    EXPECT_EQ(player.deviceId(), 0u);
    EXPECT_EQ(player.loop(), 1);
    EXPECT_EQ(player.Play(kView), 0);
    // Without a device, Stop and Close do nothing.
    player.Stop();
    player.Close();
    EXPECT_EQ(player.Open("wave\\NONE.wav"), 0);
    EXPECT_EQ(media.Commands(), (std::vector<UINT>{MCI_OPEN}));

    // A name it has not tried is tried.
    media.errors.clear();
    EXPECT_EQ(player.Open("wave\\0000.wav"), 1);
}

TEST(SoundPlayer, ATimeFormatFailureClosesTheDevice) {
    FakeMedia media;
    CSoundPlayer player(media);
    media.errors[MCI_SET] = MCIERR_UNSUPPORTED_FUNCTION;
    EXPECT_EQ(player.Open("wave\\0000.wav"), 0);
    EXPECT_EQ(media.Commands(), (std::vector<UINT>{MCI_OPEN, MCI_SET, MCI_STOP, MCI_CLOSE}));
    EXPECT_EQ(media.calls[3].device, 7u);
    EXPECT_EQ(player.deviceId(), 0u);
    EXPECT_EQ(player.Play(kView), 0);

    // Even a device that will not close is not played.
    media.errors[MCI_CLOSE] = MCIERR_DEVICE_NOT_READY;
    EXPECT_EQ(player.Open("wave\\0001.wav"), 0);
    EXPECT_EQ(player.deviceId(), 0u);
}

TEST(SoundPlayer, APlayFailureClosesTheDevice) {
    FakeMedia media;
    CSoundPlayer player(media);
    media.errors[MCI_PLAY] = MCIERR_HARDWARE;
    ASSERT_EQ(player.Open("wave\\0000.wav"), 1);
    media.calls.clear();
    EXPECT_EQ(player.Play(kView), 0);
    EXPECT_EQ(media.Commands(), (std::vector<UINT>{MCI_SEEK, MCI_PLAY, MCI_STOP, MCI_CLOSE}));
    EXPECT_EQ(player.deviceId(), 0u);
    EXPECT_EQ(player.Play(kView), 0);
}

// A short wave file of silence: 8 kHz, 8 bits, mono.
void WriteWave(const std::string& path, uint32_t samples) {
    std::string bytes = "RIFF....WAVEfmt ";
    auto put = [&](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes += static_cast<char>(value >> (8 * i));
        }
    };
    put(16, 4);
    put(1, 2);     // PCM
    put(1, 2);     // channels
    put(8000, 4);  // samples a second
    put(8000, 4);  // bytes a second
    put(1, 2);     // block
    put(8, 2);     // bits
    bytes += "data";
    put(samples, 4);
    bytes.append(samples, '\x80');
    const uint32_t riff = static_cast<uint32_t>(bytes.size() - 8);
    for (int i = 0; i < 4; ++i) {
        bytes[4 + i] = static_cast<char>(riff >> (8 * i));
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// The real media layer. Without an audio device (Wine on a virtual screen)
// the file may open and "play" without ever ending, so the end is waited for
// only where there is a device.
TEST(SoundPlayer, TheSystemMediaLayerOpensPlaysAndCloses) {
    // Named relative to the current directory, as the game names its sounds.
    const std::string wave = "sound-player-test.wav";
    WriteWave(wave, 800);
    HWND window =
        CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        CSoundPlayer player;
        const int opened = player.Open(wave);
        EXPECT_EQ(opened == 1, player.deviceId() != 0);
        const MCIDEVICEID device = player.deviceId();
        if (player.Play(window) == 0) {
            EXPECT_EQ(player.deviceId(), 0u);
        } else if (waveOutGetNumDevs() > 0) {
            bool ended = false;
            const DWORD deadline = GetTickCount() + 30000;
            while (!ended && GetTickCount() < deadline) {
                MSG msg{};
                if (PeekMessageW(&msg, window, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
                    ended = msg.wParam == MCI_NOTIFY_SUCCESSFUL &&
                            static_cast<MCIDEVICEID>(msg.lParam) == device;
                } else {
                    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
                }
            }
            EXPECT_TRUE(ended) << "no notice at the end of the sound";
        }
        player.Close();
        EXPECT_EQ(player.deviceId(), 0u);
    }
    DestroyWindow(window);
    std::remove(wave.c_str());
}

}  // namespace
