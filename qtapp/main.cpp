// Lumatone's entry point on Linux: the services, the window model and its Qt view.
#include "app/app.h"
#include "platform/linux/linux_platform.h"
#include "qtapp/session.h"
#include "qtapp/shell.h"
#include "qtapp/single_instance.h"
#include "qtapp/view.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The services speak X11: on a Wayland desktop the program runs through
    // XWayland rather than with a window the services cannot see.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    // Hidden in the tray is still running.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName("lumatone");
    QApplication::setApplicationDisplayName("Lumatone");
    QApplication::setDesktopFileName("lumatone");
    // Decided before anything reads the settings or docks an icon.
    lumatone::view::UnixSingleInstance single;
    if (!lumatone::ClaimOrHandOver(single))
        return 0;

    lumatone::view::QtView view;
    lumatone::view::QtShell shell(
        view.Icon(), [&view](std::function<void()> event) { view.Deliver(std::move(event)); });
    lumatone::LinuxPlatform services;
    lumatone::Capabilities capabilities =
        services.Bind(shell, shell, shell, view, view.Metrics(), view);
    lumatone::App app(capabilities);
    if (!view.Create(app))
        return 1;
    const lumatone::view::SessionEnd session(view, app, shell);
    single.OnShowAsked([&view] { view.ShowAsked(); });
    app.Load();
    view.PlaceInitially();
    view.Sync();
    return view.Run();
}
