#pragma once

#include "platform/window_runtime.h"

#include <deque>
#include <string>
#include <vector>

namespace lumatone {

class SimRuntime : public WindowRuntime {
  public:
    WindowHandle MainWindow() override { return mainWindow; }
    IconHandle MainIcon() override { return mainIcon; }
    int PopupMenu(const std::vector<std::string>& captions) override;
    int ScreenWidthTwips() override { return screenWidthTwips; }
    int ScreenHeightTwips() override { return screenHeightTwips; }
    float TwipsPerPixelX() override { return twipsPerPixel; }
    float TwipsPerPixelY() override { return twipsPerPixel; }
    void EndProgram() override { ++endCalls; }

    WindowHandle mainWindow = 0x10010;
    IconHandle mainIcon = 0x20020;
    int screenWidthTwips = 1024 * 15;
    int screenHeightTwips = 768 * 15;
    float twipsPerPixel = 15.0f;
    int endCalls = 0;

    // The captions offered by each pop-up, and the choices to make (-1: dismissed).
    std::vector<std::vector<std::string>> popups;
    std::deque<int> popupChoices;
};

} // namespace lumatone
