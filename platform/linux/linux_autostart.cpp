#include "platform/linux/linux_autostart.h"

#include "platform/linux/linux_system.h"
#include "platform/portable/std_file_store.h"

#include <filesystem>
#include <system_error>

namespace lumatone {
namespace {

namespace fs = std::filesystem;

// Empty when the configuration folder is unknown.
fs::path EntryPath() {
    const std::string config = ConfigHome();
    return config.empty() ? fs::path() : fs::path(config) / "autostart" / "lumatone.desktop";
}

// The program as the one argument of an Exec line: quoted when it holds a
// reserved character, '%' doubled so it is no field code, then escaped as
// any string value is.
std::string ExecArgument(const std::string& argument) {
    const bool quote = argument.find_first_of(" \t\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string quoted;
    for (char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            quoted += '\\';
        quoted += c;
        if (c == '%')
            quoted += '%';
    }
    if (quote)
        quoted = '"' + quoted + '"';
    std::string escaped;
    for (char c : quoted) {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

} // namespace

bool LinuxAutostart::Enable(const std::string& quotedCommand) {
    // A path with a blank may come quoted as on a command line; Exec quotes by its own rules.
    std::string command = quotedCommand;
    if (command.size() >= 2 && command.front() == '"' && command.back() == '"')
        command = command.substr(1, command.size() - 2);
    // A line break would end the entry's line; a relative path would start
    // whatever the session's working folder holds.
    if (command.empty() || command[0] != '/' ||
        command.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return false;
    const fs::path path = EntryPath();
    if (path.empty())
        return false;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec)
        return false;
    return StdFileStore().Replace(path.string(), "[Desktop Entry]\n"
                                                 "Type=Application\n"
                                                 "Name=Lumatone\n"
                                                 "Exec=" +
                                                     ExecArgument(command) +
                                                     "\n"
                                                     "X-GNOME-Autostart-enabled=true\n");
}

bool LinuxAutostart::Disable() {
    const fs::path path = EntryPath();
    if (path.empty())
        return true;
    std::error_code ec;
    fs::remove(path, ec);
    return fs::symlink_status(path, ec).type() == fs::file_type::not_found;
}

} // namespace lumatone
