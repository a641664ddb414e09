#include "platform/sim/sim_system.h"

namespace lumatone {

bool SimSystem::GetVersionEx(OsVersionInfo& info) {
    ++versionQueries;
    if (failVersion)
        return false;
    info = version;
    return true;
}

void SimSystem::Sleep(std::uint32_t milliseconds) {
    nowMs += milliseconds;
    sleptMs += milliseconds;
}

} // namespace lumatone
