// Lumatone's entry point: the services, the window model and its native view.
// The services' headers come before <windows.h>, whose A/W macros would
// rename their members.
#include "app/app.h"
#include "app/windows_capabilities.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_single_instance.h"

#include "win32app/view.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Decided before anything reads the settings or adds an icon.
    lumatone::Win32SingleInstance single(lumatone::view::kForm1Class);
    if (!lumatone::ClaimOrHandOver(single))
        return 0;
    lumatone::view::Win32View view(instance);
    lumatone::Win32Platform services;
    lumatone::Platform platform = services.Bind(view);
    lumatone::WindowsCapabilities capabilities(platform);
    lumatone::App app(capabilities.capabilities);
    view.SetTrayIcon(capabilities.tray);
    view.SetMixerVolume(capabilities.volume);
    view.SetSingleInstance(single);
    single.OnShowAsked([&view] { view.ShowAsked(); });
    if (!view.Create(app))
        return 1;
    app.Load();
    view.PlaceInitially();
    view.Sync();
    return view.Run();
}
