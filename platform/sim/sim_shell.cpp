#include "platform/sim/sim_shell.h"

namespace lumatone {

bool SimShell::NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
    bool result = false;
    if (message == kNimAdd) {
        // One icon per window and identifier: a second add is refused.
        result = !failAdd && !iconPresent;
        if (result) {
            iconPresent = true;
            icon = data;
        }
    } else if (message == kNimDelete) {
        result = iconPresent && data.hWnd == icon.hWnd && data.uID == icon.uID;
        if (result)
            iconPresent = false;
    } else if (message == kNimModify) {
        result = iconPresent;
        if (result)
            icon = data;
    }
    iconCalls.push_back({message, data, result});
    return result;
}

bool SimShell::Execute(const std::string& operation, const std::string& file,
                       const std::string& parameters, const std::string& folder, int showCommand) {
    executes.push_back({operation, file, parameters, folder, showCommand});
    return true;
}

int SimShell::MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                         std::uint32_t style) {
    messageBoxes.push_back({text, title, style, owner});
    return messageBoxAnswer;
}

} // namespace lumatone
