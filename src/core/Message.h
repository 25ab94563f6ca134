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

// A file of the world that its server no longer gives (the web edition
// fetches sounds as they play): told once, and the game goes on.
inline constexpr char kWorldFileUnreachableText[] =
    "ファイルを読み込めませんでした。サーバーとの接続を確かめてください。ゲームはそのまま続けられま"
    "す。";
