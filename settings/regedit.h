#pragma once

#include "platform/autostart.h"
#include "platform/registry.h"
#include "platform/system.h"

#include <string>

namespace lumatone {

inline constexpr const char* kRunValuePath =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Lumatone";

// Stores a string value at a full value path; failures are ignored.
void WriteRegValue(Registry& registry, const std::string& valuePath, const std::string& value);

// The Run value of the current user.
class RegistryAutostart : public Autostart {
  public:
    explicit RegistryAutostart(Registry& registry) : registry_(registry) {}
    bool Enable(const std::string& command) override;
    bool Disable() override;

  private:
    Registry& registry_;
};

// The Run value for the executable: quoted when the path holds a blank, so
// Windows cannot start a shorter path's program instead. Only Windows
// programs carry the ".exe".
std::string AutostartCommand(const std::string& programFolder, char separator,
                             const std::string& exeName,
                             SystemFamily family = SystemFamily::Windows);

} // namespace lumatone
