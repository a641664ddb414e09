#include "platform/linux/linux_registry.h"

#include "platform/linux/xdg.h"
#include "platform/portable/std_file_store.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace lumatone {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRunKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The value's name under the Run key, as registry paths match: without regard
// to letter case. None for any other path, or a name that is no file name.
std::optional<std::string> RunValueName(const std::string& valuePath) {
    if (valuePath.size() <= kRunKey.size())
        return std::nullopt;
    for (std::size_t i = 0; i < kRunKey.size(); ++i)
        if (AsciiLower(valuePath[i]) != AsciiLower(kRunKey[i]))
            return std::nullopt;
    std::string name = valuePath.substr(kRunKey.size());
    if (name == "." || name == ".." || name.find_first_of(std::string("\\/\0", 3)) != name.npos)
        return std::nullopt;
    return name;
}

std::optional<fs::path> EntryPath(const std::string& valuePath) {
    const auto name = RunValueName(valuePath);
    const std::string config = ConfigHome();
    if (!name || config.empty())
        return std::nullopt;
    std::string file;
    for (char c : *name)
        file += AsciiLower(c);
    return fs::path(config) / "autostart" / (file + ".desktop");
}

// One argument of an Exec line: quoted when it holds a reserved character,
// '%' doubled so it is no field code, then escaped as any string value is.
std::string ExecArgument(const std::string& argument) {
    const bool quote =
        argument.empty() || argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
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

bool LinuxRegistry::WriteString(const std::string& valuePath, const std::string& value) {
    const auto path = EntryPath(valuePath);
    if (!path)
        return false;
    // The value is the program's path, quoted when it holds a blank.
    std::string program = value.c_str();
    if (program.size() >= 2 && program.front() == '"' && program.back() == '"')
        program = program.substr(1, program.size() - 2);
    // A line break would end the entry's line; a relative path would start
    // whatever the session's working folder holds.
    if (program.empty() || program[0] != '/' || program.find_first_of("\r\n") != program.npos)
        return false;
    const std::string name = RunValueName(valuePath).value();
    if (name.find_first_of("\r\n") != name.npos)
        return false;

    std::error_code ec;
    fs::create_directories(path->parent_path(), ec);
    if (ec)
        return false;
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=" +
                              name +
                              "\n"
                              "Exec=" +
                              ExecArgument(program) +
                              "\n"
                              "X-GNOME-Autostart-enabled=true\n";
    StdFileStore files;
    return files.Replace(path->string(), entry);
}

bool LinuxRegistry::DeleteValue(const std::string& valuePath) {
    const auto path = EntryPath(valuePath);
    std::error_code ec;
    // As the registry does, deleting a value that is not there fails.
    return path && fs::is_regular_file(*path, ec) && fs::remove(*path, ec);
}

bool LinuxRegistry::ValueExists(const std::string& valuePath) {
    const auto path = EntryPath(valuePath);
    std::error_code ec;
    return path && fs::is_regular_file(*path, ec);
}

} // namespace lumatone
