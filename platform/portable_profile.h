// The private-profile contract of the Windows kernel, written portably over
// a FileStore, for every system that has no kernel profile functions.
#pragma once

#include "platform/file_store.h"
#include "platform/profile.h"

namespace lumatone {

class PortableProfile : public Profile {
  public:
    explicit PortableProfile(FileStore& files) : files_(files) {}
    std::uint32_t GetPrivateProfileString(const std::string& section, const std::string& key,
                                          const std::string& defaultValue, char* buffer,
                                          std::uint32_t size, const std::string& path) override;
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& path) override;

  private:
    FileStore& files_;
};

} // namespace lumatone
