#include "settings/regedit.h"

namespace lumatone {

void WriteRegValue(Registry& registry, const std::string& valuePath, const std::string& value) {
    registry.WriteString(valuePath, value);
}

void RemoveRegValue(Registry& registry, const std::string& valuePath) {
    if (registry.ValueExists(valuePath))
        registry.DeleteValue(valuePath);
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
