// Modal notices to the user.
#pragma once

#include <string>

namespace lumatone {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Warning };
enum class MessageAnswer { Ok, Yes, No, None };

// Not "MessageBox": Windows headers make that name a macro.
class MessageDialog {
  public:
    virtual ~MessageDialog() = default;
    // ownedByMainWindow: the main window takes no input until it is answered;
    // otherwise the box stands on its own (the window may be gone).
    virtual MessageAnswer Show(const std::string& text, const std::string& title,
                               MessageButtons buttons, MessageIcon icon, bool systemModal,
                               bool ownedByMainWindow) = 0;
};

} // namespace lumatone
