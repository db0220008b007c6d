// The posted messages and the quit request of the one thread, taken in the
// order the message loop relies on: posted input first, then the quit message.
// Timer ticks come after both; each backend asks its timers when this is empty.
#pragma once

#include <cstddef>
#include <deque>

#include "platform/platform.h"

namespace platform::common {

class MessageQueue {
public:
    enum class Taken { Message, Quit, Nothing };

    void Post(const Message& message) { posted_.push_back(message); }
    // Like Win32, a pointer move not yet taken folds into the latest one.
    void PostFoldingMoves(const Message& message) {
        if (message.message == WM_MOUSEMOVE && !posted_.empty() &&
            posted_.back().message == WM_MOUSEMOVE) {
            posted_.back().lParam = message.lParam;
            return;
        }
        posted_.push_back(message);
    }
    void PostQuit() { quit_ = true; }

    // The next posted message, else the quit message (for `window`), else nothing.
    Taken Take(Window window, Message* message) {
        if (!posted_.empty()) {
            if (message) *message = posted_.front();
            posted_.pop_front();
            return Taken::Message;
        }
        if (quit_) {
            quit_ = false;
            if (message) *message = Message{window, WM_QUIT, 0, 0};
            return Taken::Quit;
        }
        return Taken::Nothing;
    }

    std::size_t Size() const { return posted_.size(); }
    bool QuitPending() const { return quit_; }

private:
    std::deque<Message> posted_;
    bool quit_ = false;
};

}  // namespace platform::common
