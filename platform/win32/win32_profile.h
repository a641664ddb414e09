#pragma once

#include "platform/profile.h"

namespace lumatone {

class Win32Profile : public Profile {
  public:
    std::uint32_t GetPrivateProfileString(const std::string& section, const std::string& key,
                                          const std::string& defaultValue, char* buffer,
                                          std::uint32_t size, const std::string& path) override;
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& path) override;
    FileState StateOf(const std::string& path) override;
    bool CopyOver(const std::string& from, const std::string& to) override;
    bool MoveOver(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    std::string UniqueCopyName(const std::string& path) override;
    std::vector<std::string> LeftoverCopies(const std::string& path) override;
    bool HasRoomFor(const std::string& path, std::uint64_t bytes) override;
};

} // namespace lumatone
