#include "platform/sim/sim_system.h"

#include "platform/windows_version.h"

namespace lumatone {

bool SimSystem::GetVersionEx(OsVersionInfo& info) {
    ++versionQueries;
    if (failVersion)
        return false;
    info = version;
    return true;
}

Features SimSystem::GetFeatures() {
    return features ? *features : WindowsFeatures(*this);
}

void SimSystem::Sleep(std::uint32_t milliseconds) {
    nowMs += milliseconds;
    sleptMs += milliseconds;
}

} // namespace lumatone
