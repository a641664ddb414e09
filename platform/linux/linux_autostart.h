#pragma once

#include "platform/autostart.h"

namespace lumatone {

// The XDG autostart entry $XDG_CONFIG_HOME/autostart/lumatone.desktop.
class LinuxAutostart : public Autostart {
  public:
    // command: the program's absolute path, perhaps in double quotes.
    bool Enable(const std::string& command) override;
    bool Disable() override;
};

} // namespace lumatone
