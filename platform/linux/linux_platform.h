// Every non-window service on Linux, bound to the view's shell and runtime.
#pragma once

#include "platform/linux/linux_keyboard.h"
#include "platform/linux/linux_launcher.h"
#include "platform/linux/linux_mixer.h"
#include "platform/linux/linux_registry.h"
#include "platform/linux/linux_screen.h"
#include "platform/linux/linux_system.h"
#include "platform/platform.h"
#include "platform/portable/portable_memory.h"
#include "platform/portable/portable_profile.h"
#include "platform/portable/std_file_store.h"

namespace lumatone {

struct LinuxPlatform {
    LinuxKeyboard keyboard;
    LinuxScreen screen;
    StdFileStore files;
    PortableProfile profile{files};
    LinuxMixer mixer;
    LinuxSystem system{mixer};
    LinuxRegistry registry;
    LinuxLauncher launcher;
    PortableMemory memory;

    Platform Bind(Shell& shell, WindowRuntime& runtime) {
        return Platform{keyboard, screen, profile, system, registry,
                        launcher, shell,  mixer,   memory, runtime};
    }
};

} // namespace lumatone
