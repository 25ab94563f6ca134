#include "WebDialogs.h"

#include <emscripten.h>

#include <functional>
#include <string>
#include <vector>

#include "Message.h"
#include "game/PluginSetup.h"
#include "game/StoryRules.h"

// clang-format off
// The password dialog's next answer: -1 cancelled (the dialog is closed), -2
// a text code page 932 cannot hold, else the length of the text, kept for
// js_password_text.
EM_ASYNC_JS(int, js_password_answer_async, (), {
    return await Module.shell.dialogs.passwordAnswer();
});
EM_JS(void, js_password_text, (char* buffer, int capacity), {
    const bytes = Module.shell.dialogs.passwordText();
    HEAPU8.set(bytes.subarray(0, Math.min(bytes.length, capacity)), buffer);
});
EM_JS(void, js_password_close, (), { Module.shell.dialogs.closePassword(); });

// True when the player pressed OK: the dialog then stays, its buttons off.
EM_ASYNC_JS(int, js_plugin_open_async, (const char* text, size_t length), {
    return await Module.shell.dialogs.openPlugin(HEAPU8.slice(text, text + length)) ? 1 : 0;
});
EM_JS(void, js_plugin_status, (const char* text, size_t length), {
    Module.shell.dialogs.pluginStatus(HEAPU8.slice(text, text + length));
});
EM_JS(void, js_plugin_progress, (int position), { Module.shell.dialogs.pluginProgress(position); });
EM_JS(void, js_plugin_close, (), { Module.shell.dialogs.closePlugin(); });

// The page's message box; returns when the player has answered it.
EM_ASYNC_JS(void, js_message_answered_async, (const char* text, size_t length), {
    await Module.shell.dialogs.message(HEAPU8.slice(text, text + length));
});

EM_JS(int, js_caps_lock_on, (), { return Module.shell.dialogs.capsLockOn() ? 1 : 0; });
// clang-format on

namespace {

// The messages the core shows while `action` runs, held back so that the
// game can wait for the player's answer to each.
std::vector<std::string>* heldMessages = nullptr;

void HoldMessage(const std::string& text) {
    heldMessages->push_back(text);
}

template <typename Action>
std::vector<std::string> HoldMessages(const Action& action) {
    std::vector<std::string> held;
    heldMessages = &held;
    const MessageHandler previous = SetMessageHandler(HoldMessage);
    action();
    SetMessageHandler(previous);
    heldMessages = nullptr;
    return held;
}

void ShowAndWait(const std::vector<std::string>& messages) {
    for (const std::string& text : messages) {
        js_message_answered_async(text.data(), text.size());
    }
}

}  // namespace

bool AskPasswordInPage(GameState& state, const PasswordLists& lists, int slot,
                       const std::function<void()>& accepted) {
    for (;;) {
        const int length = js_password_answer_async();
        if (length == -1) {
            return false;
        }
        std::string text;
        if (length >= 0) {
            text.resize(static_cast<size_t>(length));
            js_password_text(text.data(), length);
        }
        bool solved = false;
        const std::vector<std::string> messages = HoldMessages([&] {
            // A character the code page lacks can be in no accepted text.
            if (length == -2) {
                ShowMessage(std::string(kPasswordRefusedText));
            } else {
                solved = SubmitPassword(state, lists, slot, text);
            }
        });
        if (solved) {
            accepted();
        }
        ShowAndWait(messages);
        if (solved) {
            js_password_close();
            return true;
        }
    }
}

bool RunPluginSetupInPage() {
    if (js_plugin_open_async(kPluginSetupReadyText.data(), kPluginSetupReadyText.size()) == 0) {
        return false;
    }
    // Each wait gives the page back to the browser, which paints the bar.
    RunPluginSetupPhases(
        {[] { return static_cast<uint32_t>(emscripten_get_now()); }, [] { emscripten_sleep(1); }},
        [](const PluginSetupPhase& phase) {
            js_plugin_status(phase.text.data(), phase.text.size());
        },
        [](int position) { js_plugin_progress(position); });
    ShowAndWait({std::string(kPluginInstalledText)});
    js_plugin_close();
    return true;
}

bool PageCapsLockOn() {
    return js_caps_lock_on() != 0;
}
