#pragma once

#include "platform/system.h"

#include <string>

namespace lumatone {

// "Windows XP", "Windows Vista", "Windows 7", ..., the empty text for an
// unlisted version, "Failed" when the system did not answer.
std::string GetWindowsVersionName(System& system);

} // namespace lumatone
