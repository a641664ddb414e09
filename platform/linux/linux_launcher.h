#pragma once

#include "platform/launcher.h"

#include <vector>

namespace lumatone {

// Starts a program by its full path with the command line split on blanks
// into its arguments: no shell, no search of PATH. Finished children are
// reaped at each launch and at the end.
class LinuxLauncher : public Launcher {
  public:
    LinuxLauncher() = default;
    ~LinuxLauncher() override;
    LinuxLauncher(const LinuxLauncher&) = delete;
    LinuxLauncher& operator=(const LinuxLauncher&) = delete;

    bool Launch(const std::string& program, const std::string& commandLine,
                const std::string& workingFolder, int showCommand) override;
    std::string SystemFolder() override { return "/usr/bin"; }

  private:
    void Reap();
    std::vector<int> children_;
};

} // namespace lumatone
