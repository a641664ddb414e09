#pragma once

#include "platform/launcher.h"

#include <string>
#include <vector>

namespace lumatone {

class SimLauncher : public Launcher {
  public:
    struct Launch {
        std::string program, commandLine, workingFolder;
        int showCommand;
    };
    bool Launch(const std::string& program, const std::string& commandLine,
                const std::string& workingFolder, int showCommand) override;
    std::string SystemFolder() override { return systemFolder; }

    std::vector<struct Launch> launches;
    std::string systemFolder = "C:\\WINDOWS\\system32";
    bool failLaunch = false;
    // Process and thread handles a real launch would leave open; a launch closes both.
    std::int64_t handlesOutstanding = 0;
};

} // namespace lumatone
