// The settings file: one value at a time, by section, key and path.
#pragma once

#include "platform/profile.h"
#include "platform/system.h"

#include <string>

namespace lumatone {

// Program folder, the system's separator, "settings.ini"; built afresh on every call.
std::string SettingsPath(System& system);

// The stored value without surrounding blanks and quotes, at most 254
// characters; empty when the file, section or key is missing.
std::string ReadIni(Profile& profile, const std::string& section, const std::string& key,
                    const std::string& path);

// True when the platform stored the value. Most callers may ignore it. A value
// that reading would alter (edge blanks, enclosing quotes) is stored inside one
// more pair of quotes, so ReadIni gives back exactly what was written.
bool WriteIni(Profile& profile, const std::string& section, const std::string& key,
              const std::string& value, const std::string& path);

} // namespace lumatone
