#include "qtapp/session.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumatone::view {
namespace {

int signalPipe[2] = {-1, -1};

// Only what is safe in a signal handler: one write, errno kept.
void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

bool ListenForSessionEnd(QtView& view, App& app) {
    const auto unload = [&view, &app] {
        view.Deliver([&app] { app.Unload(UnloadReason::SystemClosing); });
    };
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &view,
                     [unload](QSessionManager&) { unload(); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &view, unload);

    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return false;
    fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &view);
    QObject::connect(notifier, &QSocketNotifier::activated, &view, [unload] {
        char bytes[16];
        [[maybe_unused]] const ssize_t got = read(signalPipe[0], bytes, sizeof bytes);
        unload();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

} // namespace lumatone::view
