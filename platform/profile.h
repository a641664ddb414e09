#pragma once

#include <cstdint>
#include <string>

namespace lumatone {

// The private-profile (INI) functions of the kernel, in their "A" forms.
class Profile {
  public:
    virtual ~Profile() = default;
    // Copies at most size-1 characters and a NUL into buffer; returns the count copied.
    virtual std::uint32_t GetPrivateProfileString(const std::string& section,
                                                  const std::string& key,
                                                  const std::string& defaultValue, char* buffer,
                                                  std::uint32_t size, const std::string& path) = 0;
    virtual bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                           const std::string& value, const std::string& path) = 0;
};

} // namespace lumatone
