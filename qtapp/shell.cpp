#include "qtapp/shell.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QUrl>

namespace lumatone::view {

QtShell::QtShell(QIcon icon, std::function<void(std::function<void()>)> deliver)
    : icon_(std::move(icon)), deliver_(std::move(deliver)) {}

QtShell::~QtShell() = default;

bool QtShell::Show(const std::string& tip) {
    // Without a tray host the icon would never show: refused, so the program
    // keeps its window.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (!tray_) {
        tray_ = std::make_unique<QSystemTrayIcon>(icon_);
        // Queued: the handler runs after the icon's own mouse handler returns,
        // since hiding the icon ("&Exit") destroys its widget.
        connect(
            tray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); },
            Qt::QueuedConnection);
    }
    tray_->setToolTip(QString::fromStdString(tip));
    tray_->show();
    return true;
}

void QtShell::Hide() {
    // Kept for a later Show.
    if (tray_)
        tray_->hide();
}

void QtShell::SetHandler(std::function<void(TrayEvent)> handler) {
    handler_ = std::move(handler);
}

void QtShell::OnActivated(int reason) {
    // While a box the main window waits on is up, the icon takes no clicks:
    // "&Exit" would end the program under the box.
    if (ownedBoxes_ > 0 || !handler_ || !tray_ || !tray_->isVisible())
        return;
    TrayEvent event;
    if (reason == QSystemTrayIcon::DoubleClick)
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
