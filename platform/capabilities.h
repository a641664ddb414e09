// Everything the program asks of the system, each named by what it is for.
#pragma once

#include "platform/autostart.h"
#include "platform/display_modes.h"
#include "platform/gamma_output.h"
#include "platform/keyboard.h"
#include "platform/link_opener.h"
#include "platform/master_volume.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/system.h"
#include "platform/tray_icon.h"
#include "platform/vibrance_applet.h"
#include "platform/window_services.h"

namespace lumatone {

struct Capabilities {
    Keyboard& keys;
    GammaOutput& gamma;
    DisplayModes& modes;
    MasterVolume& volume;
    Autostart& autostart;
    TrayIcon& tray;
    MessageDialog& messages;
    LinkOpener& links;
    VibranceApplet& vibrance;
    Profile& profile;
    System& system;
    PopupMenu& menu;
    ScreenMetrics& metrics;
    ProgramEnd& end;
};

} // namespace lumatone
