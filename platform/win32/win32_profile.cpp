#include "platform/win32/win32_profile.h"

#include "platform/win32/win32_windows.h"

namespace lumatone {

std::uint32_t Win32Profile::GetPrivateProfileString(const std::string& section,
                                                    const std::string& key,
                                                    const std::string& defaultValue, char* buffer,
                                                    std::uint32_t size, const std::string& path) {
    if (buffer == nullptr || size == 0)
        return 0;
    return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                      size, path.c_str());
}

bool Win32Profile::WritePrivateProfileString(const std::string& section, const std::string& key,
                                             const std::string& value, const std::string& path) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        path.c_str()) != FALSE;
}

} // namespace lumatone
