// Every service on Linux that is not the view's, bound to the view's own.
#pragma once

#include "platform/capabilities.h"
#include "platform/linux/linux_autostart.h"
#include "platform/linux/linux_keyboard.h"
#include "platform/linux/linux_screen.h"
#include "platform/linux/linux_system.h"
#include "platform/linux/linux_vibrance.h"
#include "platform/linux/linux_volume.h"
#include "platform/linux/wayland_gamma.h"
#include "platform/portable/portable_profile.h"
#include "platform/portable/std_file_store.h"

namespace lumatone {

struct LinuxPlatform {
    LinuxKeyboard keyboard;
    LinuxScreen screen;
    WaylandGamma wayland;
    // Chosen once, at the start: the compositor's where it offers gamma control.
    GammaOutput& gamma = SessionGamma(wayland, screen);
    LinuxVolume volume;
    LinuxAutostart autostart;
    LinuxVibrance vibrance;
    StdFileStore files;
    PortableProfile profile{files};
    LinuxSystem system{volume, &vibrance};

    Capabilities Bind(TrayIcon& tray, MessageDialog& messages, LinkOpener& links, PopupMenu& menu,
                      ScreenMetrics& metrics, ProgramEnd& end) {
        return Capabilities{keyboard, gamma,    screen,  volume, autostart, tray,    messages,
                            links,    vibrance, profile, system, menu,      metrics, end};
    }
};

} // namespace lumatone
