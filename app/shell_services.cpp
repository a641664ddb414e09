#include "app/shell_services.h"

namespace lumatone {
namespace {

constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

} // namespace

MessageAnswer ShellMessageDialog::Show(const std::string& text, const std::string& title,
                                       MessageButtons buttons, MessageIcon icon, bool systemModal,
                                       bool ownedByMainWindow) {
    std::uint32_t style = buttons == MessageButtons::YesNo ? kMbYesNo : kMbOk;
    if (icon == MessageIcon::Warning)
        style |= kMbIconWarning;
    if (systemModal)
        style |= kMbSystemModal;
    const WindowHandle owner = ownedByMainWindow ? runtime_.MainWindow() : 0;
    switch (shell_.MessageBox(owner, text, title, style)) {
    case kIdOk:
        return MessageAnswer::Ok;
    case kIdYes:
        return MessageAnswer::Yes;
    case kIdNo:
        return MessageAnswer::No;
    default:
        return MessageAnswer::None;
    }
}

bool ShellLinkOpener::Open(const std::string& link) {
    return shell_.Execute("Open", link, "", "", kSwShowNormal);
}

} // namespace lumatone
