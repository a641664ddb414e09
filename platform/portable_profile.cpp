#include "platform/portable_profile.h"

#include <cstring>

namespace lumatone {

// Placeholder until the INI reader and writer land.
std::uint32_t PortableProfile::GetPrivateProfileString(const std::string&, const std::string&,
                                                       const std::string& defaultValue,
                                                       char* buffer, std::uint32_t size,
                                                       const std::string&) {
    if (size == 0)
        return 0;
    std::uint32_t n = static_cast<std::uint32_t>(defaultValue.size());
    if (n > size - 1)
        n = size - 1;
    std::memcpy(buffer, defaultValue.data(), n);
    buffer[n] = '\0';
    return n;
}

bool PortableProfile::WritePrivateProfileString(const std::string&, const std::string&,
                                                const std::string&, const std::string&) {
    return false;
}

} // namespace lumatone
