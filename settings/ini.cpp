#include "settings/ini.h"

#include <array>

namespace lumatone {

std::string SettingsPath(System& system) {
    return system.ProgramFolder() + system.PathSeparator() + "settings.ini";
}

std::string ReadIni(Profile& profile, const std::string& section, const std::string& key,
                    const std::string& path) {
    std::array<char, 255> buffer{};
    std::uint32_t n = profile.GetPrivateProfileString(
        section, key, "", buffer.data(), static_cast<std::uint32_t>(buffer.size()), path);
    if (n > buffer.size() - 1)
        n = static_cast<std::uint32_t>(buffer.size() - 1);
    return std::string(buffer.data(), n);
}

bool WriteIni(Profile& profile, const std::string& section, const std::string& key,
              const std::string& value, const std::string& path) {
    return profile.WritePrivateProfileString(section, key, value, path);
}

} // namespace lumatone
