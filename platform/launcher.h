#pragma once

#include <string>

namespace lumatone {

// Starts a process without waiting for it.
class Launcher {
  public:
    virtual ~Launcher() = default;
    // program: full path of the executable; commandLine: the whole line it gets.
    virtual bool Launch(const std::string& program, const std::string& commandLine,
                        const std::string& workingFolder, int showCommand) = 0;
    virtual std::string SystemFolder() = 0;
};

} // namespace lumatone
