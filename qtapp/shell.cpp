#include "qtapp/shell.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

namespace lumatone::view {
namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
// A host that hangs must not freeze the window for long.
constexpr int kBusTimeoutMs = 1000;
constexpr int kTrayPollMs = 1000;

bool WatcherOnBus() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr)
        return false;
    const QDBusReply<bool> reply = bus.interface()->isServiceRegistered(kWatcher);
    return reply.isValid() && reply.value();
}

// The watcher lists items as a bus name, most followed by the object's path.
bool WatcherListsThisProcess() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr)
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("RegisteredStatusNotifierItems");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kBusTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QStringList items =
        qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toStringList();
    for (const QString& item : items) {
        const QString service = item.section(QLatin1Char('/'), 0, 0);
        if (service.isEmpty())
            continue;
        const QDBusReply<uint> pid = bus.interface()->servicePid(service);
        if (pid.isValid() && pid.value() == QCoreApplication::applicationPid())
            return true;
    }
    return false;
}

// Qt's window for an icon in an XEmbed tray; none while a notifier host has it.
QWidget* XEmbedWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("QSystemTrayIconSys"))
            return widget;
    return nullptr;
}

} // namespace

QtShell::QtShell(QIcon icon, std::function<void(std::function<void()>)> deliver)
    : icon_(std::move(icon)), deliver_(std::move(deliver)) {}

QtShell::~QtShell() = default;

bool QtShell::Show(const std::string& tip) {
    if (abandoned_)
        return false;
    // Without a tray host the icon would never show: refused, so the program
    // keeps its window.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (!tray_) {
        // Decided as Qt decides it, the first time it is asked.
        const bool notifier = WatcherOnBus();
        tray_ = std::make_unique<QSystemTrayIcon>(icon_);
        if (notifier) {
            // Hosts show a notifier's icon only with a menu, and draw it themselves.
            menu_ = std::make_unique<QMenu>();
            BuildMenu();
            tray_->setContextMenu(menu_.get());
        }
        // Queued: the handler runs after the icon's own mouse handler returns,
        // since hiding the icon ("&Exit") destroys its widget.
        connect(
            tray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); },
            Qt::QueuedConnection);
    }
    tray_->setToolTip(QString::fromStdString(tip));
    tray_->show();
    // Made by show(), kept until the icon is hidden: looked up once.
    xembedWindow_ = XEmbedWindow();
    if (menu_ && xembedWindow_) {
        // Qt docked it in an XEmbed tray after all, where a context menu would
        // pop up on the right button's press besides the program's own.
        tray_->setContextMenu(nullptr);
        menu_.reset();
    }
    if (!UsesNotifier() && !watching_) {
        // Qt undocks the icon when the tray goes away and docks it in the next
        // one, and tells nobody.
        watching_ = true;
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this] { Recheck(); });
        poll->start(kTrayPollMs);
    }
    if (UsesNotifier() && !watching_) {
        watching_ = true;
        auto* recheck = new QTimer(this);
        recheck->setSingleShot(true);
        recheck->setInterval(0);
        connect(recheck, &QTimer::timeout, this, [this] { Recheck(); });
        QDBusConnection bus = QDBusConnection::sessionBus();
        for (const char* signal :
             {"StatusNotifierItemRegistered", "StatusNotifierItemUnregistered"})
            bus.connect(kWatcher, kWatcherPath, kWatcher, QLatin1String(signal), recheck,
                        SLOT(start()));
        auto* owner =
            new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, recheck,
                [recheck] { recheck->start(); });
    }
    hosted_ = Hosted();
    return hosted_;
}

bool QtShell::Hosted() const {
    if (!tray_ || !tray_->isVisible())
        return false;
    if (UsesNotifier())
        return WatcherListsThisProcess();
    return xembedWindow_ ? xembedWindow_->isVisible() : QSystemTrayIcon::isSystemTrayAvailable();
}

void QtShell::Recheck() {
    if (abandoned_ || !tray_ || !tray_->isVisible())
        return;
    const bool now = Hosted();
    if (now == hosted_)
        return;
    hosted_ = now;
    // Taken late, or dropped: the program adds the icon again and keeps its
    // window on screen while no host has it.
    if (handler_)
        deliver_([this] { handler_(TrayEvent::TrayRestart); });
}

void QtShell::Hide() {
    hosted_ = false;
    // Kept for a later Show.
    if (tray_ && !abandoned_)
        tray_->hide();
}

void QtShell::SetHandler(std::function<void(TrayEvent)> handler) {
    handler_ = std::move(handler);
}

void QtShell::SetMenu(const std::vector<std::string>& captions,
                      std::function<void(std::size_t)> choose) {
    captions_ = captions;
    choose_ = std::move(choose);
    if (menu_)
        BuildMenu();
}

void QtShell::BuildMenu() {
    ++menuGeneration_;
    menu_->clear();
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        QAction* action = menu_->addAction(QString::fromStdString(captions_[i]));
        // Queued, as the clicks: "&Exit" takes the menu the host is calling into.
        connect(
            action, &QAction::triggered, this,
            [this, i, generation = menuGeneration_] {
                if (generation != menuGeneration_ || ownedBoxes_ > 0 || !choose_)
                    return;
                deliver_([this, i] { choose_(i); });
            },
            Qt::QueuedConnection);
    }
}

void QtShell::OnActivated(int reason) {
    // While a box the main window waits on is up, the icon takes no clicks:
    // "&Exit" would end the program under the box.
    if (ownedBoxes_ > 0 || !handler_ || !tray_ || !tray_->isVisible())
        return;
    TrayEvent event;
    // A notifier host sends one activation for a plain click and has no
    // double-click; in an XEmbed tray a plain click is Trigger too, and does nothing.
    if (reason == QSystemTrayIcon::DoubleClick ||
        (reason == QSystemTrayIcon::Trigger && UsesNotifier()))
        event = TrayEvent::Activate;
    else if (reason == QSystemTrayIcon::Context)
        event = TrayEvent::Menu;
    else
        return;
    deliver_([this, event] { handler_(event); });
}

MessageAnswer QtShell::Show(const std::string& text, const std::string& title,
                            MessageButtons buttons, MessageIcon icon, bool systemModal,
                            bool ownedByMainWindow) {
    const bool yesNo = buttons == MessageButtons::YesNo;
    QString body = QString::fromStdString(text);
    body.replace("\r\n", "\n");
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromStdString(title), body,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    if (systemModal)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    ownedBoxes_ += ownedByMainWindow ? 1 : 0;
    const int answer = box.exec();
    ownedBoxes_ -= ownedByMainWindow ? 1 : 0;
    if (!yesNo)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

bool QtShell::Open(const std::string& link) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(link)));
}

} // namespace lumatone::view
