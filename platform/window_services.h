// What the windows need of the desktop beyond their own state: a pop-up
// menu, the screen's size and the end of the program.
#pragma once

#include <string>
#include <vector>

namespace lumatone {

class PopupMenu {
  public:
    virtual ~PopupMenu() = default;
    // Modal pop-up at the pointer; the index of the chosen caption, or -1.
    virtual int Popup(const std::vector<std::string>& captions) = 0;
};

class ScreenMetrics {
  public:
    virtual ~ScreenMetrics() = default;
    virtual int ScreenWidthTwips() = 0;
    virtual int ScreenHeightTwips() = 0;
    virtual float TwipsPerPixelX() = 0;
    virtual float TwipsPerPixelY() = 0;
};

class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    // Ends the process's message loop; nothing of the program runs afterwards.
    virtual void EndProgram() = 0;
};

} // namespace lumatone
