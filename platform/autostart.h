// Starting the program when the user logs on.
#pragma once

#include <string>

namespace lumatone {

class Autostart {
  public:
    virtual ~Autostart() = default;
    // command: how the system starts the program (the executable's path).
    virtual bool Enable(const std::string& command) = 0;
    // Leaves nothing that starts the program; true when nothing is left.
    virtual bool Disable() = 0;
};

} // namespace lumatone
