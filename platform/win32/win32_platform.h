// Every service on the real Windows API, bound to the native view's runtime.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_memory.h"
#include "platform/win32/win32_mixer.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_screen.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"

namespace lumatone {

struct Win32Platform {
    Win32Keyboard keyboard;
    Win32Screen screen;
    Win32Profile profile;
    Win32System system;
    Win32Registry registry;
    Win32Launcher launcher;
    Win32Shell shell;
    Win32Mixer mixer;
    Win32Memory memory;

    Platform Bind(WindowRuntime& runtime) {
        return Platform{keyboard, screen, profile, system, registry,
                        launcher, shell,  mixer,   memory, runtime};
    }
};

} // namespace lumatone
