#include "Message.h"

#include <cstdio>

#include "text/ShiftJis.h"

namespace {

void WriteToStandardError(const std::string& text) {
    std::fputs(text.c_str(), stderr);
}

MessageHandler g_handler = WriteToStandardError;

}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
    MessageHandler previous = g_handler;
    g_handler = handler ? handler : WriteToStandardError;
    return previous;
}

void ShowMessage(const std::string& text) {
    g_handler(text);
}

std::string FitMessage(std::string text) {
    constexpr size_t kBufferSize = 256;
    text.resize(CutAtCharacter(text, kBufferSize - 1).size());
    return text;
}
