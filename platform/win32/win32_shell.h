#pragma once

#include "platform/shell.h"

namespace lumatone {

class Win32Shell : public Shell {
  public:
    bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;
    bool Execute(const std::string& operation, const std::string& file,
                 const std::string& parameters, const std::string& folder,
                 int showCommand) override;
    int MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                   std::uint32_t style) override;
};

} // namespace lumatone
