#include "app/tray.h"

#include "model/forms.h"

#include <string>
#include <vector>

namespace lumatone {

Tray::Tray(Form1& form, TrayIcon& icon, PopupMenu& menu) : form_(form), icon_(icon), menu_(menu) {
    form_.mnuShow.onClick = [this] { ShowAction(); };
    form_.mnuHide.onClick = [this] { HideAction(); };
    icon_.SetHandler([this](TrayEvent event) { OnEvent(event); });
    OfferMenu();
}

bool Tray::AddOwnIcon() {
    const bool added = Add();
    if (!present_)
        retriesLeft_ = kTrayAddRetries;
    return added;
}

bool Tray::Add() {
    const bool wasPresent = present_;
    asked_ = true;
    present_ = icon_.Show("Lumatone");
    return present_ && !wasPresent;
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

void Tray::RemoveTrayIcon() {
    icon_.Hide();
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
    OfferMenu();
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
    OfferMenu();
}

void Tray::OnEvent(TrayEvent event) {
    switch (event) {
    case TrayEvent::Activate:
        if (form_.visible)
            HideAction();
        else
            ShowAction();
        break;
    case TrayEvent::Menu:
        PopUpMenu();
        break;
    case TrayEvent::TrayRestart:
        OnTrayRestart();
        break;
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
    const int choice = menu_.Popup(captions);
    if (choice >= 0 && static_cast<std::size_t>(choice) < shown.size())
        shown[static_cast<std::size_t>(choice)]->Click();
}

void Tray::OfferMenu() {
    offered_.clear();
    std::vector<std::string> captions;
    for (MenuItem* item : form_.MenuItems()) {
        if (item->visible) {
            offered_.push_back(item);
            captions.push_back(item->caption);
        }
    }
    icon_.SetMenu(captions, [this](std::size_t choice) {
        if (choice < offered_.size())
            offered_[choice]->Click();
    });
}

void Tray::OnTrayRestart() {
    if (!asked_)
        return;
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
