#include "platform/linux/linux_system.h"

#include "platform/linux/linux_vibrance.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace lumatone {
namespace {

std::string ExePath() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}

// A file, not a folder, that this process may use as mode (W_OK, X_OK) says.
bool IsFileFor(const std::string& path, int mode) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), mode) == 0;
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

std::string ConfigHome() {
    // Relative values are to be ignored, as the XDG base directory rules say.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.config";
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir[0] == '/')
        return std::string(user->pw_dir) + "/.config";
    return {};
}

bool LinuxSystem::GetVersionEx(OsVersionInfo& /*info*/) {
    return false;
}

Features LinuxSystem::GetFeatures() {
    if (!features_) {
        Features f;
        f.family = SystemFamily::Posix;
        // Installed is not enough: without NV-CONTROL the tool changes nothing.
        f.vibrance = vibrance_ != nullptr && vibrance_->Answers();
        f.volume = volume_.Present();
        features_ = f;
    }
    return *features_;
}

std::string LinuxSystem::ProgramFolder() {
    return std::filesystem::path(ExePath()).parent_path().string();
}

std::string LinuxSystem::ExeName() {
    // The whole name: a Linux program's name has no extension to take off, and
    // its autostart entry must name the file that is there.
    return std::filesystem::path(ExePath()).filename().string();
}

std::string LinuxSystem::SettingsFolder() {
    const std::string program = ProgramFolder();
    // Saving replaces the file through a new one beside it, so the folder must
    // take new files too.
    if (!program.empty() && IsFileFor(program + "/settings.ini", W_OK) &&
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
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string LinuxSystem::SessionNote() {
    std::optional<std::string> hotkeys;
    if (portal_ != nullptr) {
        // The portal answers within milliseconds where it runs: the first
        // note waits up to a second for that answer, later ones not at all.
        hotkeys = portal_->Note(portalAsked_ ? std::chrono::milliseconds(0)
                                             : std::chrono::milliseconds(1000));
        portalAsked_ = true;
    }
    return SessionNoteFor(session_, hotkeys);
}

} // namespace lumatone
