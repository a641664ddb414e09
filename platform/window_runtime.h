#pragma once

#include "platform/handles.h"

#include <string>
#include <vector>

namespace lumatone {

// What the window model needs from the form runtime beyond its own state.
// Visibility, positions and texts live in the model; the native view mirrors them.
class WindowRuntime {
  public:
    virtual ~WindowRuntime() = default;
    virtual WindowHandle MainWindow() = 0;
    virtual IconHandle MainIcon() = 0;
    // Modal pop-up at the pointer; the index of the chosen caption, or -1.
    virtual int PopupMenu(const std::vector<std::string>& captions) = 0;
    virtual int ScreenWidthTwips() = 0;
    virtual int ScreenHeightTwips() = 0;
    virtual float TwipsPerPixelX() = 0;
    virtual float TwipsPerPixelY() = 0;
    // Ends the process's message loop; nothing of the program runs afterwards.
    virtual void EndProgram() = 0;
};

} // namespace lumatone
