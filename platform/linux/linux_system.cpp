#include "platform/linux/linux_system.h"

#include "platform/linux/xdg.h"

#include <cerrno>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace lumatone {
namespace {

std::string ExePath() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool IsWritableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), W_OK) == 0;
}

// Makes the folder and any missing parents, private to the user as the XDG
// rules ask; true when the folder is there afterwards.
bool MakeFolders(const std::string& folder) {
    for (std::size_t at = 1; at != std::string::npos;) {
        at = folder.find('/', at + 1);
        const std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

bool LinuxSystem::GetVersionEx(OsVersionInfo& /*info*/) {
    return false;
}

Features LinuxSystem::GetFeatures() {
    if (!features_) {
        Features f;
        f.family = SystemFamily::Posix;
        struct stat info {};
        f.vibrance = ::stat("/usr/bin/nvidia-settings", &info) == 0 && S_ISREG(info.st_mode) &&
                     ::access("/usr/bin/nvidia-settings", X_OK) == 0;
        f.volume = mixer_.GetNumDevs() > 0;
        features_ = f;
    }
    return *features_;
}

std::string LinuxSystem::ProgramFolder() {
    const std::string path = ExePath();
    const std::size_t cut = path.rfind('/');
    if (cut == std::string::npos)
        return {};
    return cut == 0 ? "/" : path.substr(0, cut);
}

std::string LinuxSystem::ExeName() {
    // The whole name: a Linux program's name has no extension to take off, and
    // its autostart entry must name the file that is there.
    const std::string path = ExePath();
    return path.substr(path.rfind('/') + 1);
}

std::string LinuxSystem::SettingsFolder() {
    const std::string program = ProgramFolder();
    // Saving replaces the file through a new one beside it, so the folder must
    // take new files too.
    if (!program.empty() && IsWritableFile(program + "/settings.ini") &&
        ::access(program.c_str(), W_OK) == 0)
        return program;
    const std::string config = ConfigHome();
    if (config.empty())
        return program;
    const std::string folder = config + "/lumatone";
    MakeFolders(folder);
    return folder;
}

void LinuxSystem::Sleep(std::uint32_t milliseconds) {
    timespec left{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

} // namespace lumatone
