// The tray icon, the message box and opening a link, through Qt.
#pragma once

#include "platform/link_opener.h"
#include "platform/message_box.h"
#include "platform/tray_icon.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
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
    void SetMenu(const std::vector<std::string>& captions,
                 std::function<void(std::size_t)> choose) override;
    // The display is gone and the process ends: the icon is left alone.
    void Abandon() { abandoned_ = true; }

    MessageAnswer Show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon icon, bool systemModal, bool ownedByMainWindow) override;

    bool Open(const std::string& link) override;

  private:
    void OnActivated(int reason);
    // A status notifier host (over D-Bus) shows the icon, rather than an
    // XEmbed tray: Qt takes that path when a watcher is on the session bus.
    bool UsesNotifier() const { return menu_ != nullptr; }
    // Whether a tray host has the icon now: for a status notifier, a watcher
    // lists the item of this process; for XEmbed, Qt's window for it is up in
    // a tray (Qt takes it down when the tray goes away).
    bool Hosted() const;
    void BuildMenu();
    // The host took or dropped the icon on its own: the program asks again.
    void Recheck();

    QIcon icon_;
    std::function<void(std::function<void()>)> deliver_;
    std::function<void(TrayEvent)> handler_;
    std::vector<std::string> captions_;
    std::function<void(std::size_t)> choose_;
    unsigned menuGeneration_ = 0; // a choice from an older menu is dropped
    std::unique_ptr<QMenu> menu_; // outlives the icon that shows it
    std::unique_ptr<QSystemTrayIcon> tray_;
    QPointer<QWidget> xembedWindow_; // Qt's window for the icon in an XEmbed tray
    bool hosted_ = false;
    bool watching_ = false; // the host's changes reach Recheck
    bool abandoned_ = false;
    int ownedBoxes_ = 0; // message boxes up that the main window waits on
};

} // namespace lumatone::view
