// Stands in for a program the backend starts: writes down how it was started,
// into a file beside itself named like it with ".out", and ends.
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_windows.h"

#include <fstream>
#include <string>

int main() {
    char module[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string self(module, n);
    std::string out = self.substr(0, self.rfind('.')) + ".out";

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    lumatone::Win32System system;
    lumatone::OsVersionInfo version;
    system.GetVersionEx(version);

    // Written aside and renamed, so a reader never sees half a file.
    std::string temporary = out + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << "module=" << self << "\n"
             << "commandline=" << GetCommandLineA() << "\n"
             << "folder=" << folder << "\n"
             << "show=" << ((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1)
             << "\n"
             << "version=" << version.platformId << "/" << version.majorVersion << "."
             << version.minorVersion << "\n"
             << "programfolder=" << system.ProgramFolder() << "\n"
             << "exename=" << system.ExeName() << "\n";
    }
    return MoveFileExA(temporary.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
