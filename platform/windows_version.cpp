#include "platform/windows_version.h"

namespace lumatone {

std::string WindowsVersionName(const OsVersionInfo& v) {
    if (v.platformId == 1) {
        switch (v.minorVersion) {
        case 0:
            return "Windows 95";
        case 10:
            return "Windows 98";
        case 90:
            return "Windows Millennium";
        default:
            return "";
        }
    }
    if (v.platformId == 2) {
        switch (v.majorVersion) {
        case 3:
            return "Windows NT 3.51";
        case 4:
            return "Windows NT 4.0";
        case 5:
            return v.minorVersion == 0 ? "Windows 2000" : "Windows XP";
        case 6:
            if (v.minorVersion == 0)
                return "Windows Vista";
            if (v.minorVersion == 1)
                return "Windows 7";
            return "";
        default:
            return "";
        }
    }
    return "Failed";
}

std::string WindowsVersionName(System& system) {
    OsVersionInfo info{}; // a failed query leaves platform id 0: "Failed"
    if (!system.GetVersionEx(info))
        info = OsVersionInfo{};
    return WindowsVersionName(info);
}

Features WindowsFeatures(System& system) {
    const std::string name = WindowsVersionName(system);
    Features f;
    f.vibrance = name == "Windows XP";
    f.volume = name == "Windows XP" || name == "Windows Vista";
    return f;
}

} // namespace lumatone
