// Message boxes and links through the shell, the pop-up menu, the screen's
// size and the program's end through the window runtime.
#pragma once

#include "platform/link_opener.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "platform/window_runtime.h"
#include "platform/window_services.h"

namespace lumatone {

class ShellMessageDialog : public MessageDialog {
  public:
    ShellMessageDialog(Shell& shell, WindowRuntime& runtime) : shell_(shell), runtime_(runtime) {}
    MessageAnswer Show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon icon, bool systemModal, bool ownedByMainWindow) override;

  private:
    Shell& shell_;
    WindowRuntime& runtime_;
};

// The shell's "Open" verb, shown normally.
class ShellLinkOpener : public LinkOpener {
  public:
    explicit ShellLinkOpener(Shell& shell) : shell_(shell) {}
    bool Open(const std::string& link) override;

  private:
    Shell& shell_;
};

class RuntimeWindowServices : public PopupMenu, public ScreenMetrics, public ProgramEnd {
  public:
    explicit RuntimeWindowServices(WindowRuntime& runtime) : runtime_(runtime) {}
    int Popup(const std::vector<std::string>& captions) override {
        return runtime_.PopupMenu(captions);
    }
    int ScreenWidthTwips() override { return runtime_.ScreenWidthTwips(); }
    int ScreenHeightTwips() override { return runtime_.ScreenHeightTwips(); }
    float TwipsPerPixelX() override { return runtime_.TwipsPerPixelX(); }
    float TwipsPerPixelY() override { return runtime_.TwipsPerPixelY(); }
    void EndProgram() override { runtime_.EndProgram(); }

  private:
    WindowRuntime& runtime_;
};

} // namespace lumatone
