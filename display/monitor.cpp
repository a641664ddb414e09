#include "display/monitor.h"

#include "app/forms.h"

namespace lumatone {

MonitorPanel::MonitorPanel(Form1& form, Screen& screen, Shell& shell, WindowRuntime& runtime)
    : form_(form), screen_(screen), shell_(shell), runtime_(runtime) {
    form_.Command6.onClick = [this] { ShowMonitorInfo(); };
    form_.Timer2.onTick = [this] { ShowMonitorInfo(); };
    form_.Command5.onClick = [this] { ChangeRefreshRate(); };
}

void MonitorPanel::ShowMonitorInfo() {}
void MonitorPanel::ChangeRefreshRate() {}

} // namespace lumatone
