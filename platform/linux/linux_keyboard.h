#pragma once

#include "platform/keyboard.h"

#include <memory>

namespace lumatone {

// Key and mouse-button state of the X server, whichever window has the
// focus, over display connections of its own: keys by their place on the
// keyboard, none down while the screen saver is on. Without a display every
// key reads as up. The server's events are read on a thread of its own as
// they come, so a poll while nothing happens makes no system call.
class LinuxKeyboard : public Keyboard {
  public:
    LinuxKeyboard();
    ~LinuxKeyboard() override;

    std::int16_t GetAsyncKeyState(std::int32_t virtualKey) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace lumatone
