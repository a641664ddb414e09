#pragma once

#include <cstdint>
#include <string>

namespace lumatone {

struct OsVersionInfo {
    std::uint32_t platformId = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
};

// How programs are named and started: a Windows command line to an .exe, or
// a POSIX argument list to a program without an extension.
enum class SystemFamily { Windows, Posix };

// What the system offers of the program's optional groups.
struct Features {
    bool vibrance = false; // the graphics vendor's vibrance control
    bool volume = false;   // a mixer that answers
    SystemFamily family = SystemFamily::Windows;
};

// Facts about the running system and the program's own files.
class System {
  public:
    virtual ~System() = default;
    virtual bool GetVersionEx(OsVersionInfo& info) = 0;
    virtual Features GetFeatures() = 0;
    // Folder of the executable, no trailing separator except at a drive root.
    virtual std::string ProgramFolder() = 0;
    // Executable file name without extension.
    virtual std::string ExeName() = 0;
    // Where settings.ini lives: the program's folder unless the system keeps
    // settings elsewhere. No trailing separator.
    virtual std::string SettingsFolder() { return ProgramFolder(); }
    virtual char PathSeparator() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // One short line on what the desktop session keeps from the program
    // (global hotkeys, starting at login); empty where it keeps nothing.
    virtual std::string SessionNote() { return {}; }
};

} // namespace lumatone
