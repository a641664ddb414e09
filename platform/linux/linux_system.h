#pragma once

#include "platform/linux/linux_session.h"
#include "platform/linux/linux_vibrance.h"
#include "platform/linux/portal_keyboard.h"
#include "platform/master_volume.h"
#include "platform/system.h"

#include <optional>

namespace lumatone {

// The user's configuration folder by the XDG rules: $XDG_CONFIG_HOME when it
// is absolute, else the home folder's ".config"; empty when neither is known.
std::string ConfigHome();

class LinuxSystem : public System {
  public:
    // The volume is asked once whether a sound server answers, the vibrance
    // whether the driver does (none: no vibrance).
    explicit LinuxSystem(MasterVolume& volume, LinuxVibrance* vibrance = nullptr)
        : volume_(volume), vibrance_(vibrance) {}
    bool GetVersionEx(OsVersionInfo& info) override;
    Features GetFeatures() override;
    std::string ProgramFolder() override;
    std::string ExeName() override;
    // A writable settings.ini beside the program (portable use), else
    // $XDG_CONFIG_HOME/lumatone, made when missing.
    std::string SettingsFolder() override;
    char PathSeparator() override { return '/'; }
    void Sleep(std::uint32_t milliseconds) override;
    std::string SessionNote() override;
    // In a Wayland session: the keyboard that hands the hotkeys to the
    // desktop's portal, to say how that went.
    void HotkeysThrough(PortalKeyboard* keyboard) { portal_ = keyboard; }

  private:
    MasterVolume& volume_;
    LinuxVibrance* vibrance_;
    std::optional<Features> features_;
    PortalKeyboard* portal_ = nullptr;
    bool portalAsked_ = false;
    const SessionFacts session_ = CurrentSession(); // the environment stays as it started
};

} // namespace lumatone
