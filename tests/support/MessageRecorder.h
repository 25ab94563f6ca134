#pragma once

#include <string>
#include <vector>

#include "Message.h"

// Collects the messages that would reach the player's message boxes, for as
// long as it lives.
class MessageRecorder {
  public:
    MessageRecorder() : previous_(SetMessageHandler(Record)) { Messages().clear(); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    ~MessageRecorder() { SetMessageHandler(previous_); }

    static std::vector<std::string>& Messages() {
        static std::vector<std::string> messages;
        return messages;
    }

  private:
    static void Record(const std::string& text) { Messages().push_back(text); }
    MessageHandler previous_;
};
