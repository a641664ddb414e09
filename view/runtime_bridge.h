// The window runtime the services take, made of a view's capabilities and
// its main window and icon.
#pragma once

#include "platform/window_runtime.h"
#include "platform/window_services.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace lumatone::view {

class RuntimeBridge : public WindowRuntime {
  public:
    RuntimeBridge(lumatone::PopupMenu& menu, ScreenMetrics& metrics, ProgramEnd& end,
                  std::function<WindowHandle()> window, std::function<IconHandle()> icon)
        : menu_(menu), metrics_(metrics), end_(end), window_(std::move(window)),
          icon_(std::move(icon)) {}

    WindowHandle MainWindow() override { return window_(); }
    IconHandle MainIcon() override { return icon_(); }
    int PopupMenu(const std::vector<std::string>& captions) override {
        return menu_.Popup(captions);
    }
    int ScreenWidthTwips() override { return metrics_.ScreenWidthTwips(); }
    int ScreenHeightTwips() override { return metrics_.ScreenHeightTwips(); }
    float TwipsPerPixelX() override { return metrics_.TwipsPerPixelX(); }
    float TwipsPerPixelY() override { return metrics_.TwipsPerPixelY(); }
    void EndProgram() override { end_.EndProgram(); }

  private:
    lumatone::PopupMenu& menu_;
    ScreenMetrics& metrics_;
    ProgramEnd& end_;
    std::function<WindowHandle()> window_;
    std::function<IconHandle()> icon_;
};

} // namespace lumatone::view
