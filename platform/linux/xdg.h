#pragma once

#include <string>

namespace lumatone {

// The user's configuration folder by the XDG rules: $XDG_CONFIG_HOME when it
// is absolute, else the home folder's ".config"; empty when neither is known.
std::string ConfigHome();

} // namespace lumatone
