#pragma once

#include "platform/registry.h"

namespace lumatone {

// Serves the one value the program keeps in the registry, its Run value,
// as an XDG autostart entry: "...\CurrentVersion\Run\<Name>" is the file
// $XDG_CONFIG_HOME/autostart/<name>.desktop starting the value's program.
// Every other value path fails.
class LinuxRegistry : public Registry {
  public:
    bool WriteString(const std::string& valuePath, const std::string& value) override;
    bool DeleteValue(const std::string& valuePath) override;
    bool ValueExists(const std::string& valuePath) override;
};

} // namespace lumatone
