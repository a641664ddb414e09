// The shell through Qt: the tray icon, the message box and opening a link.
#pragma once

#include "platform/shell.h"

#include <QIcon>
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace lumatone::view {

class QtShell : public QObject, public Shell {
  public:
    explicit QtShell(QIcon icon);
    ~QtShell() override;
    QtShell(const QtShell&) = delete;
    QtShell& operator=(const QtShell&) = delete;

    // The icon's clicks, as the Windows callback numbers them.
    std::function<void(std::uint32_t event)> onTrayEvent;

    bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;
    bool Execute(const std::string& operation, const std::string& file,
                 const std::string& parameters, const std::string& folder,
                 int showCommand) override;
    int MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                   std::uint32_t style) override;

  private:
    bool Shown() const;
    void CreateIcon();

    QIcon icon_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    int ownedBoxes_ = 0; // message boxes up that the main window waits on
};

} // namespace lumatone::view
