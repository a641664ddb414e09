#pragma once

#include "platform/registry.h"

namespace lumatone {

class Win32Registry : public Registry {
  public:
    bool WriteString(const std::string& valuePath, const std::string& value) override;
    bool DeleteValue(const std::string& valuePath) override;
    bool ValueExists(const std::string& valuePath) override;
};

} // namespace lumatone
