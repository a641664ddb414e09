#include "platform/win32/win32_system.h"

#include "platform/windows_version.h"

#include "platform/win32/win32_windows.h"

namespace lumatone {

namespace {

std::string ModulePath() {
    // MAX_PATH is not a limit for GetModuleFileNameA; grow until the path fits.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of("\\/");
}

} // namespace

bool Win32System::GetVersionEx(OsVersionInfo& info) {
    OSVERSIONINFOA native{};
    native.dwOSVersionInfoSize = sizeof(native);
    if (!::GetVersionExA(&native))
        return false;
    info.platformId = native.dwPlatformId;
    info.majorVersion = native.dwMajorVersion;
    info.minorVersion = native.dwMinorVersion;
    return true;
}

Features Win32System::GetFeatures() {
    return WindowsFeatures(*this);
}

std::string Win32System::ProgramFolder() {
    std::string path = ModulePath();
    std::size_t cut = LastSeparator(path);
    if (cut == std::string::npos)
        return {};
    // A drive root keeps its separator: "C:\" rather than "C:".
    if (cut == 2 && path[1] == ':')
        return path.substr(0, 3);
    return path.substr(0, cut);
}

std::string Win32System::ExeName() {
    std::string path = ModulePath();
    std::size_t cut = LastSeparator(path);
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot != 0)
        name.resize(dot);
    return name;
}

void Win32System::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

} // namespace lumatone
