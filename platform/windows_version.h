// Windows names its versions; the optional groups follow the name.
#pragma once

#include "platform/system.h"

#include <string>

namespace lumatone {

// "Windows XP", "Windows Vista", "Windows 7", ..., the empty text for an
// unlisted version, "Failed" when the system did not answer.
std::string WindowsVersionName(const OsVersionInfo& info);
std::string WindowsVersionName(System& system);

// Vibrance on Windows XP only, the volume on XP and Vista.
Features WindowsFeatures(System& system);

} // namespace lumatone
