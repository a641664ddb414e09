#pragma once

#include "platform/system.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumatone {

// Version fields, program location and a virtual clock that Sleep advances.
class SimSystem : public System {
  public:
    bool GetVersionEx(OsVersionInfo& info) override;
    // Follows the version as on Windows unless a test sets its own.
    Features GetFeatures() override;
    std::string SettingsFolder() override {
        return settingsFolder.empty() ? programFolder : settingsFolder;
    }
    std::string ProgramFolder() override { return programFolder; }
    std::string ExeName() override { return exeName; }
    char PathSeparator() override { return separator; }
    void Sleep(std::uint32_t milliseconds) override;
    std::string SessionNote() override { return sessionNote; }

    OsVersionInfo version{2, 5, 1}; // Windows XP
    bool failVersion = false;
    std::string programFolder = "C:\\Program Files\\Lumatone";
    std::string exeName = "lumatone";
    char separator = '\\';
    std::optional<Features> features;
    std::string settingsFolder; // empty: the program's folder
    std::string sessionNote;
    std::uint64_t nowMs = 0;
    std::uint64_t sleptMs = 0;
    std::uint64_t versionQueries = 0;

    void SetVersion(std::uint32_t platform, std::uint32_t major, std::uint32_t minor) {
        version = {platform, major, minor};
    }
};

} // namespace lumatone
