#include "settings/version.h"

#include "platform/windows_version.h"

namespace lumatone {

std::string GetWindowsVersionName(System& system) {
    return WindowsVersionName(system);
}

} // namespace lumatone
