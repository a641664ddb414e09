#include "platform/win32/win32_launcher.h"

#include "platform/win32/win32_windows.h"

#include <vector>

namespace lumatone {

bool Win32Launcher::Launch(const std::string& program, const std::string& commandLine,
                           const std::string& workingFolder, int showCommand) {
    // Without a program path CreateProcessA would search the current folder
    // for the first word of the command line, and run whatever it finds there.
    if (program.empty())
        return false;

    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    BOOL ok = ::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                               &process);
    if (!ok)
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

std::string Win32Launcher::SystemFolder() {
    char folder[MAX_PATH + 1] = {};
    UINT n = ::GetSystemDirectoryA(folder, sizeof(folder));
    if (n == 0 || n >= sizeof(folder))
        return {};
    return std::string(folder, n);
}

} // namespace lumatone
