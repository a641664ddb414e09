#pragma once

#include "platform/master_volume.h"
#include "platform/system.h"

#include <optional>

namespace lumatone {

// The user's configuration folder by the XDG rules: $XDG_CONFIG_HOME when it
// is absolute, else the home folder's ".config"; empty when neither is known.
std::string ConfigHome();

class LinuxSystem : public System {
  public:
    // The volume is asked once whether a sound server answers.
    explicit LinuxSystem(MasterVolume& volume) : volume_(volume) {}
    bool GetVersionEx(OsVersionInfo& info) override;
    Features GetFeatures() override;
    std::string ProgramFolder() override;
    std::string ExeName() override;
    // A writable settings.ini beside the program (portable use), else
    // $XDG_CONFIG_HOME/lumatone, made when missing.
    std::string SettingsFolder() override;
    char PathSeparator() override { return '/'; }
    void Sleep(std::uint32_t milliseconds) override;

  private:
    MasterVolume& volume_;
    std::optional<Features> features_;
};

} // namespace lumatone
