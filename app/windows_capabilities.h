// What the program needs of the system, served by the Windows-shaped services.
#pragma once

#include "app/shell_services.h"
#include "app/shell_tray_icon.h"
#include "audio/mixer_master_volume.h"
#include "display/screen_display_modes.h"
#include "display/screen_gamma_output.h"
#include "display/vibrance.h"
#include "platform/capabilities.h"
#include "platform/platform.h"
#include "settings/regedit.h"

namespace lumatone {

class WindowsCapabilities {
  public:
    explicit WindowsCapabilities(Platform& platform);
    WindowsCapabilities(const WindowsCapabilities&) = delete;
    WindowsCapabilities& operator=(const WindowsCapabilities&) = delete;

    ScreenGammaOutput gamma;
    ScreenDisplayModes modes;
    MixerMasterVolume volume;
    RegistryAutostart autostart;
    // The native view hands it the icon's callback and "TaskbarCreated".
    ShellTrayIcon tray;
    ShellMessageDialog messages;
    ShellLinkOpener links;
    LauncherVibranceApplet vibrance;
    RuntimeWindowServices window;

    Capabilities capabilities;
};

} // namespace lumatone
