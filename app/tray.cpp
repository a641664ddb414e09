#include "app/tray.h"

#include "model/forms.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace lumatone {

NotifyIconData MakeTrayIconData(WindowHandle window, IconHandle icon, const std::string& tip,
                                std::uint32_t callbackMessage) {
    NotifyIconData d{};
    d.cbSize = sizeof(NotifyIconData);
    d.hWnd = static_cast<std::uint32_t>(window);
    d.uID = 1;
    d.uFlags = 7; // message + icon + tip
    d.uCallbackMessage = callbackMessage;
    d.hIcon = static_cast<std::uint32_t>(icon);
    std::memset(d.szTip, ' ', sizeof d.szTip);
    const std::size_t n = std::min(tip.size(), sizeof d.szTip - 1);
    std::memcpy(d.szTip, tip.data(), n);
    d.szTip[n] = '\0';
    return d;
}

Tray::Tray(Form1& form, Shell& shell, WindowRuntime& runtime)
    : form_(form), shell_(shell), runtime_(runtime) {
    form_.mnuShow.onClick = [this] { ShowAction(); };
    form_.mnuHide.onClick = [this] { HideAction(); };
}

bool Tray::AddTrayIcon(WindowHandle window, IconHandle icon, const std::string& tip,
                       std::uint32_t callbackMessage) {
    data_ = MakeTrayIconData(window, icon, tip, callbackMessage);
    const bool added = Add();
    if (!present_)
        retriesLeft_ = kTrayAddRetries;
    return added;
}

bool Tray::Add() {
    const bool added = shell_.NotifyIcon(kNimAdd, data_);
    // A refused add also means "already there", and a shell that timed out
    // may have taken the icon after all: a modify succeeds only while it exists.
    present_ = added || present_ || shell_.NotifyIcon(kNimModify, data_);
    return added;
}

void Tray::RetryAdd() {
    if (retriesLeft_ == 0)
        return;
    --retriesLeft_;
    Add();
    if (present_)
        OnIconBack();
}

void Tray::OnIconBack() {
    retriesLeft_ = 0;
    if (hideWhenPresent_)
        HideAction();
}

void Tray::KeepOnScreenUntilIcon() {
    if (!form_.visible)
        ShowAction();
    hideWhenPresent_ = true;
}

bool Tray::AddOwnIcon() {
    return AddTrayIcon(runtime_.MainWindow(), runtime_.MainIcon(), "Lumatone",
                       kTrayCallbackMessage);
}

void Tray::RemoveTrayIcon() {
    shell_.NotifyIcon(kNimDelete, data_);
    present_ = false;
    retriesLeft_ = 0;
}

void Tray::HideAction() {
    hideWhenPresent_ = false;
    if (form_.windowState != 1) {
        form_.windowState = 1;
        form_.visible = false;
    }
    form_.mnuHide.visible = false;
    form_.mnuShow.visible = true;
}

void Tray::ShowAction() {
    hideWhenPresent_ = false;
    form_.visible = true;
    if (form_.windowState == 1) {
        form_.windowState = 0;
        form_.visible = true;
    }
    form_.mnuHide.visible = true;
    form_.mnuShow.visible = false;
}

void Tray::OnCallback(std::uint32_t event) {
    if (event == kTrayLeftDoubleClick) {
        if (form_.visible)
            HideAction();
        else
            ShowAction();
    } else if (event == kTrayRightButtonUp) {
        PopUpMenu();
    }
}

void Tray::PopUpMenu() {
    std::vector<MenuItem*> shown;
    std::vector<std::string> captions;
    for (MenuItem* item : form_.MenuItems()) {
        if (item->visible) {
            shown.push_back(item);
            captions.push_back(item->caption);
        }
    }
    const int choice = runtime_.PopupMenu(captions);
    if (choice >= 0 && static_cast<std::size_t>(choice) < shown.size())
        shown[static_cast<std::size_t>(choice)]->Click();
}

void Tray::OnTaskbarCreated() {
    if (data_.cbSize == 0)
        return; // never added: start-up has not run yet
    present_ = false;
    Add();
    if (present_) {
        OnIconBack();
        return;
    }
    retriesLeft_ = kTrayAddRetries;
    if (!form_.visible)
        ShowAction();
}

} // namespace lumatone
