#include "settings/regedit.h"

namespace lumatone {

void WriteRegValue(Registry& registry, const std::string& valuePath, const std::string& value) {
    registry.WriteString(valuePath, value);
}

bool RegistryAutostart::Enable(const std::string& command) {
    return registry_.WriteString(kRunValuePath, command);
}

bool RegistryAutostart::Disable() {
    if (!registry_.ValueExists(kRunValuePath))
        return true;
    return registry_.DeleteValue(kRunValuePath);
}

std::string AutostartCommand(const std::string& programFolder, char separator,
                             const std::string& exeName, SystemFamily family) {
    const std::string path =
        programFolder + separator + exeName + (family == SystemFamily::Windows ? ".exe" : "");
    if (path.find(' ') == std::string::npos)
        return path;
    return '"' + path + '"';
}

} // namespace lumatone
