#pragma once

#include "platform/shell.h"

#include <string>
#include <vector>

namespace lumatone {

// The notification area, the shell's open verb and message boxes.
class SimShell : public Shell {
  public:
    bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;
    bool Execute(const std::string& operation, const std::string& file,
                 const std::string& parameters, const std::string& folder,
                 int showCommand) override;
    int MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                   std::uint32_t style) override;

    struct IconCall {
        std::uint32_t message;
        NotifyIconData data;
        bool result;
    };
    std::vector<IconCall> iconCalls;
    bool iconPresent = false;
    NotifyIconData icon{};
    bool failAdd = false;

    struct ExecuteCall {
        std::string operation, file, parameters, folder;
        int showCommand;
    };
    std::vector<ExecuteCall> executes;

    struct Box {
        std::string text, title;
        std::uint32_t style;
        WindowHandle owner;
    };
    std::vector<Box> messageBoxes;
    int messageBoxAnswer = 6; // IDYES
};

} // namespace lumatone
