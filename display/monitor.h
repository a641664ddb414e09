// The monitor panel of the "Frequency" group and the refresh-rate change.
#pragma once

#include "platform/screen.h"
#include "platform/shell.h"
#include "platform/window_runtime.h"

namespace lumatone {

class Form1;

class MonitorPanel {
  public:
    MonitorPanel(Form1& form, Screen& screen, Shell& shell, WindowRuntime& runtime);
    void ShowMonitorInfo();
    void ChangeRefreshRate();

  private:
    Form1& form_;
    Screen& screen_;
    Shell& shell_;
    WindowRuntime& runtime_;
};

} // namespace lumatone
