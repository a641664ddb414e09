#include "platform/sim/sim_launcher.h"

namespace lumatone {

bool SimLauncher::Launch(const std::string& program, const std::string& commandLine,
                         const std::string& workingFolder, int showCommand) {
    launches.push_back({program, commandLine, workingFolder, showCommand});
    return !failLaunch;
}

} // namespace lumatone
