// Every simulated service, bundled as the program's Platform.
#pragma once

#include "platform/platform.h"
#include "platform/portable/portable_profile.h"
#include "platform/sim/sim_file_store.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_launcher.h"
#include "platform/sim/sim_memory.h"
#include "platform/sim/sim_mixer.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_runtime.h"
#include "platform/sim/sim_screen.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"

namespace lumatone {

struct SimPlatform {
    SimSystem system;
    // Input happens at the time of the system's clock.
    SimKeyboard keyboard{&system.nowMs};
    SimScreen screen;
    SimFileStore files;
    PortableProfile profile{files};
    SimRegistry registry;
    SimLauncher launcher;
    SimShell shell;
    SimMixer mixer;
    SimMemory memory;
    SimRuntime runtime;

    Platform services{keyboard, screen, profile, system, registry,
                      launcher, shell,  mixer,   memory, runtime};
};

} // namespace lumatone
