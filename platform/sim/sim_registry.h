#pragma once

#include "platform/registry.h"

#include <map>
#include <string>
#include <vector>

namespace lumatone {

// Records every path and value; paths compare without regard to case, as the registry's do.
class SimRegistry : public Registry {
  public:
    bool WriteString(const std::string& valuePath, const std::string& value) override;
    bool DeleteValue(const std::string& valuePath) override;
    bool ValueExists(const std::string& valuePath) override;

    std::map<std::string, std::string> values; // keyed by the path in upper case
    std::vector<std::pair<std::string, std::string>> writes;
    std::vector<std::string> deletes;
    bool failWrites = false;

    std::string Get(const std::string& valuePath) const;
    static std::string Key(const std::string& valuePath);
};

} // namespace lumatone
