#pragma once

#include "platform/mixer.h"
#include "platform/system.h"

#include <optional>

namespace lumatone {

class LinuxSystem : public System {
  public:
    // The mixer is asked once whether a sound server answers.
    explicit LinuxSystem(Mixer& mixer) : mixer_(mixer) {}
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
    Mixer& mixer_;
    std::optional<Features> features_;
};

} // namespace lumatone
