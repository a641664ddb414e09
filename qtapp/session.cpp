#include "qtapp/session.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThread>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

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

// Set while the program could still lose its settings to an abrupt end.
App* endingApp = nullptr;
QtShell* endingShell = nullptr;
QtMessageHandler qtMessages = nullptr;

// The process ends now, from inside exit(): no event runs again, and the X
// connection may be dead, so the windows and the icon are left alone.
void UnloadBeforeExit() {
    App* app = std::exchange(endingApp, nullptr);
    if (app == nullptr)
        return;
    endingShell->Abandon();
    app->Unload(UnloadReason::SystemClosing);
}

bool OnMainThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (qtMessages != nullptr)
        qtMessages(type, context, text);
    // Qt's X11 plugin calls exit() right after this warning: saving here, the
    // program's objects are all still there.
    if (type == QtWarningMsg && text.startsWith(QLatin1String("The X11 connection broke")) &&
        OnMainThread())
        UnloadBeforeExit();
}

// The session manager's "die" reaches the application as a Quit event, on
// which Qt closes the windows: the main window would take that for its "x".
// Unloaded first, it is hidden, and the quit just ends the loop.
class QuitWatch : public QObject {
  public:
    QuitWatch(QObject* parent, std::function<void()> unload)
        : QObject(parent), unload_(std::move(unload)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::Quit)
            unload_();
        return false;
    }

  private:
    std::function<void()> unload_;
};

} // namespace

SessionEnd::SessionEnd(QtView& view, App& app, QtShell& shell) {
    const auto unload = [&view, &app] {
        view.Deliver([&app] { app.Unload(UnloadReason::SystemClosing); });
    };
    // A checkpoint, or the first step of the session's end (which then sends
    // its quit): the settings are saved and the program runs on.
    const auto checkpoint = [&view, &app](QSessionManager& manager) {
        manager.setRestartHint(QSessionManager::RestartNever);
        view.Deliver([&app] { app.SaveSettings(); });
    };
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &view, checkpoint);
    QObject::connect(qApp, &QGuiApplication::saveStateRequest, &view, checkpoint);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &view, unload);
    qApp->installEventFilter(new QuitWatch(&view, unload));

    endingApp = &app;
    endingShell = &shell;
    qtMessages = qInstallMessageHandler(OnQtMessage);
    static const bool registered = std::atexit([] { UnloadBeforeExit(); }) == 0;
    (void)registered;

    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
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
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

SessionEnd::~SessionEnd() {
    endingApp = nullptr;
    endingShell = nullptr;
    qInstallMessageHandler(qtMessages);
}

} // namespace lumatone::view
