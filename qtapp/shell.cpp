#include "qtapp/shell.h"

#include "app/shell_tray_icon.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QUrl>

#include <cstring>

namespace lumatone::view {
namespace {

constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

QString TipOf(const NotifyIconData& data) {
    return QString::fromLocal8Bit(data.szTip,
                                  static_cast<qsizetype>(strnlen(data.szTip, sizeof data.szTip)));
}

} // namespace

QtShell::QtShell(QIcon icon) : icon_(std::move(icon)) {}

QtShell::~QtShell() = default;

bool QtShell::Shown() const {
    return tray_ && tray_->isVisible();
}

void QtShell::CreateIcon() {
    tray_ = std::make_unique<QSystemTrayIcon>(icon_);
    // Queued: the menu and what it does run after the icon's own mouse
    // handler returns, since hiding the icon ("&Exit") destroys its widget.
    connect(
        tray_.get(), &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) {
            // While a box the main window waits on is up, the icon takes no
            // clicks: "&Exit" would end the program under the box.
            if (ownedBoxes_ > 0 || !onTrayEvent)
                return;
            if (reason == QSystemTrayIcon::DoubleClick)
                onTrayEvent(kTrayLeftDoubleClick);
            else if (reason == QSystemTrayIcon::Context)
                onTrayEvent(kTrayRightButtonUp);
        },
        Qt::QueuedConnection);
}

bool QtShell::NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
    switch (message) {
    case kNimAdd:
        // Without a tray host the icon would never show: refused, as a shell
        // that is not ready yet refuses it, so the program keeps its window.
        if (Shown() || !QSystemTrayIcon::isSystemTrayAvailable())
            return false;
        if (!tray_)
            CreateIcon();
        tray_->setToolTip(TipOf(data));
        tray_->show();
        return true;
    case kNimModify:
        if (!Shown())
            return false;
        tray_->setToolTip(TipOf(data));
        return true;
    case kNimDelete:
        // Hidden, and kept for a later add.
        if (!Shown())
            return false;
        tray_->hide();
        return true;
    default:
        return false;
    }
}

bool QtShell::Execute(const std::string& operation, const std::string& file, const std::string&,
                      const std::string&, int) {
    if (QString::fromStdString(operation).compare("Open", Qt::CaseInsensitive) != 0)
        return false;
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(file)));
}

int QtShell::MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                        std::uint32_t style) {
    const bool yesNo = (style & 0xF) == kMbYesNo;
    QString body = QString::fromStdString(text);
    body.replace("\r\n", "\n");
    QMessageBox box((style & 0xF0) == kMbIconWarning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromStdString(title), body,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    if ((style & kMbSystemModal) != 0)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (owner != 0)
        ++ownedBoxes_;
    const int answer = box.exec();
    if (owner != 0)
        --ownedBoxes_;
    if (!yesNo)
        return kIdOk;
    return answer == QMessageBox::Yes ? kIdYes : kIdNo;
}

} // namespace lumatone::view
