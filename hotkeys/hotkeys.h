// Capture of key bindings, the 50 ms poll with its nine actions, and the group locks.
#pragma once

#include "platform/platform.h"

#include <cstdint>

namespace lumatone {

class Form1;

class Hotkeys {
  public:
    Hotkeys(Form1& form, Platform& platform);
    void OnTimer1();
    std::int16_t HotKey(std::int16_t unused);

  private:
    Form1& form_;
    Platform& platform_;
};

} // namespace lumatone
