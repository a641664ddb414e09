#pragma once

#include "platform/system.h"

#include <cstdint>

namespace lumatone {

// Version fields, program location and a virtual clock that Sleep advances.
class SimSystem : public System {
  public:
    bool GetVersionEx(OsVersionInfo& info) override;
    std::string ProgramFolder() override { return programFolder; }
    std::string ExeName() override { return exeName; }
    char PathSeparator() override { return separator; }
    void Sleep(std::uint32_t milliseconds) override;

    OsVersionInfo version{2, 5, 1}; // Windows XP
    bool failVersion = false;
    std::string programFolder = "C:\\Program Files\\Lumatone";
    std::string exeName = "lumatone";
    char separator = '\\';
    std::uint64_t nowMs = 0;
    std::uint64_t sleptMs = 0;
    std::uint64_t versionQueries = 0;

    void SetVersion(std::uint32_t platform, std::uint32_t major, std::uint32_t minor) {
        version = {platform, major, minor};
    }
};

} // namespace lumatone
