#include "platform/linux/xdg.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace lumatone {

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

} // namespace lumatone
