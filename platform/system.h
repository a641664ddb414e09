#pragma once

#include <cstdint>
#include <string>

namespace lumatone {

struct OsVersionInfo {
    std::uint32_t platformId = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
};

// Facts about the running system and the program's own files.
class System {
  public:
    virtual ~System() = default;
    virtual bool GetVersionEx(OsVersionInfo& info) = 0;
    // Folder of the executable, no trailing separator except at a drive root.
    virtual std::string ProgramFolder() = 0;
    // Executable file name without extension.
    virtual std::string ExeName() = 0;
    virtual char PathSeparator() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

} // namespace lumatone
