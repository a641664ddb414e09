#include "app/windows_capabilities.h"

namespace lumatone {

WindowsCapabilities::WindowsCapabilities(Platform& p)
    : gamma(p.screen), modes(p.screen, p.runtime), volume(p.mixer, p.memory), autostart(p.registry),
      tray(p.shell, p.runtime), messages(p.shell, p.runtime), links(p.shell),
      vibrance(p.launcher, p.system),
      window(p.runtime), capabilities{p.keyboard, gamma,    modes,  volume,   autostart,
                                      tray,       messages, links,  vibrance, p.profile,
                                      p.system,   window,   window, window} {}

} // namespace lumatone
