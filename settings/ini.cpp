#include "settings/ini.h"

#include "base/blanks.h"

#include <array>

namespace lumatone {

std::string SettingsPath(System& system) {
    return system.SettingsFolder() + system.PathSeparator() + "settings.ini";
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

namespace {

// The profile functions hand back a value without its edge blanks and without
// one pair of enclosing quotes, so a name such as "F1" (quotes included) or
// " A" would come back altered. One extra pair of quotes makes them survive.
bool ReadWouldAlter(const std::string& v) {
    if (v.empty())
        return false;
    if (IsBlank(v.front()) || IsBlank(v.back()))
        return true;
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

} // namespace

bool WriteIni(Profile& profile, const std::string& section, const std::string& key,
              const std::string& value, const std::string& path) {
    // The kernel sees the value as a C string: it ends at the first NUL.
    const std::string text = value.substr(0, value.find('\0'));
    const std::string stored = ReadWouldAlter(text) ? '"' + text + '"' : text;
    return profile.WritePrivateProfileString(section, key, stored, path);
}

} // namespace lumatone
