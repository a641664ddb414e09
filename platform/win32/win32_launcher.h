#pragma once

#include "platform/launcher.h"

namespace lumatone {

class Win32Launcher : public Launcher {
  public:
    bool Launch(const std::string& program, const std::string& commandLine,
                const std::string& workingFolder, int showCommand) override;
    std::string SystemFolder() override;
};

} // namespace lumatone
