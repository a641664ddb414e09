// The tray icon, the message box and opening a link, through Qt.
#pragma once

#include "platform/link_opener.h"
#include "platform/message_box.h"
#include "platform/tray_icon.h"

#include <QIcon>
#include <QObject>

#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace lumatone::view {

class QtShell : public QObject, public TrayIcon, public MessageDialog, public LinkOpener {
  public:
    // deliver runs a tray event the way the view runs its own events.
    QtShell(QIcon icon, std::function<void(std::function<void()>)> deliver);
    ~QtShell() override;
    QtShell(const QtShell&) = delete;
    QtShell& operator=(const QtShell&) = delete;

    bool Show(const std::string& tip) override;
    void Hide() override;
    void SetHandler(std::function<void(TrayEvent)> handler) override;

    MessageAnswer Show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon icon, bool systemModal, bool ownedByMainWindow) override;

    bool Open(const std::string& link) override;

  private:
    void OnActivated(int reason);

    QIcon icon_;
    std::function<void(std::function<void()>)> deliver_;
    std::function<void(TrayEvent)> handler_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    int ownedBoxes_ = 0; // message boxes up that the main window waits on
};

} // namespace lumatone::view
