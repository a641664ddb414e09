#pragma once

#include <string>

namespace lumatone {

// String values under the current user's hive, addressed by a full value
// path such as "HKEY_CURRENT_USER\Software\...\Run\Lumatone".
class Registry {
  public:
    virtual ~Registry() = default;
    virtual bool WriteString(const std::string& valuePath, const std::string& value) = 0;
    virtual bool DeleteValue(const std::string& valuePath) = 0;
    virtual bool ValueExists(const std::string& valuePath) = 0;
};

} // namespace lumatone
