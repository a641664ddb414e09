#pragma once

#include "platform/records.h"

#include <string>

namespace lumatone {

class Shell {
  public:
    virtual ~Shell() = default;
    virtual bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) = 0;
    virtual bool Execute(const std::string& operation, const std::string& file,
                         const std::string& parameters, const std::string& folder,
                         int showCommand) = 0;
    // Returns the platform's answer code (IDYES, IDNO ...).
    virtual int MessageBox(const std::string& text, const std::string& title,
                           std::uint32_t style) = 0;
};

} // namespace lumatone
