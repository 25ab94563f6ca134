#pragma once

#include <functional>

#include "game/GameState.h"
#include "game/PasswordTable.h"

// The password and plug-in set-up dialogs of the web edition. The page shows
// them (web/dialogs.js); the game waits for the player through Asyncify and
// decides everything the answers mean.

// Asks for the password of `slot` until the player gives one of its accepted
// texts (true; the slot is marked solved) or gives up (false; nothing is
// stored). `accepted` runs as soon as the slot is marked, before the player
// has answered the message that says so; each message is answered before the
// dialog takes the next try.
bool AskPasswordInPage(GameState& state, const PasswordLists& lists, int slot,
                       const std::function<void()>& accepted);

// The plug-in's simulated installation: false when the player cancels before
// OK; true once it has run and the player has answered its closing message.
bool RunPluginSetupInPage();

// Caps Lock as the page last saw it.
bool PageCapsLockOn();
