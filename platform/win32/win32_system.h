#pragma once

#include "platform/system.h"

namespace lumatone {

class Win32System : public System {
  public:
    bool GetVersionEx(OsVersionInfo& info) override;
    Features GetFeatures() override;
    std::string ProgramFolder() override;
    std::string ExeName() override;
    char PathSeparator() override { return '\\'; }
    void Sleep(std::uint32_t milliseconds) override;
};

} // namespace lumatone
