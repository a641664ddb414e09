// The notification-area icon, its events and the Show/Hide actions.
#pragma once

#include "platform/tray_icon.h"
#include "platform/window_services.h"

#include <vector>

namespace lumatone {

class Form1;
class MenuItem;

// A refused icon is tried again on Timer2's ticks for two minutes.
constexpr int kTrayAddRetries = 80;

class Tray {
  public:
    Tray(Form1& form, TrayIcon& icon, PopupMenu& menu);

    // Adds the program's icon with its tip "Lumatone"; true when the icon
    // came with this call. A refused add leaves the icon as it was; when none
    // is there, the add is retried on each RetryAdd for a while.
    bool AddOwnIcon();
    void RemoveTrayIcon();
    // The icon is there to bring a hidden window back. The shell may refuse
    // it, as it does at logon before the taskbar is ready.
    bool IconPresent() const { return present_; }
    // Timer2's tick: one more try at an icon the shell refused.
    void RetryAdd();
    // For a hide that finds no icon: the window stays (or comes back) on
    // screen, and goes to the tray once the icon is there.
    void KeepOnScreenUntilIcon();

    void ShowAction();
    void HideAction();

  private:
    void OnEvent(TrayEvent event);
    // The tray forgot the icon: add it again, and if that fails while the
    // window is hidden, show the window so it is not lost.
    void OnTrayRestart();
    void PopUpMenu();
    // Hands the icon the menu's shown items, for trays that draw it themselves.
    void OfferMenu();
    bool Add();
    void OnIconBack();

    Form1& form_;
    TrayIcon& icon_;
    PopupMenu& menu_;
    bool asked_ = false; // an add was tried: start-up has run
    bool present_ = false;
    int retriesLeft_ = 0;
    bool hideWhenPresent_ = false;
    std::vector<MenuItem*> offered_; // the items of the icon's own menu, in order
};

} // namespace lumatone
