// Every operating-system service the program reaches, in one bundle.
#pragma once

#include "platform/keyboard.h"
#include "platform/launcher.h"
#include "platform/mixer.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/window_runtime.h"

namespace lumatone {

struct Platform {
    Keyboard& keyboard;
    Screen& screen;
    Profile& profile;
    System& system;
    Registry& registry;
    Launcher& launcher;
    Shell& shell;
    Mixer& mixer;
    Memory& memory;
    WindowRuntime& runtime;
};

} // namespace lumatone
