#pragma once

#include <string>

// Every failure the player is told about goes through ShowMessage. The program
// shows it in a message box; tests and tools install their own handler.
using MessageHandler = void (*)(const std::string& text);

// Installs the handler and returns the previous one.
MessageHandler SetMessageHandler(MessageHandler handler);

// Shows a code page 932 text to the player.
void ShowMessage(const std::string& text);

// Messages are formatted into 256-byte buffers: a longer text is cut at a
// character boundary to 255 bytes.
std::string FitMessage(std::string text);
