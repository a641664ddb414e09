#include "app/exit_choice.h"

#include "app/tray.h"
#include "model/forms.h"
#include "settings/session.h"

namespace lumatone {

ExitChoice::ExitChoice(Form1& form, Tray& tray, SettingsSession& settings,
                       std::function<Form2&()> ask, std::function<void()> quit)
    : form_(form), tray_(tray), settings_(settings), ask_(std::move(ask)), quit_(std::move(quit)) {
    form_.Command2.onClick = [this] { OnMinimizeButton(); };
    form_.Command1.onClick = [this] { OnCloseButton(); };
}

void ExitChoice::Attach(Form2& dialog) {
    dialog.Command1.onClick = [this, &dialog] { OnDialogMinimize(dialog); };
    dialog.Command2.onClick = [this, &dialog] { OnDialogQuit(dialog); };
}

void ExitChoice::OnMinimizeButton() {
    tray_.AddOwnIcon();
    if (tray_.IconPresent())
        tray_.HideAction();
    else
        tray_.KeepOnScreenUntilIcon();
}

void ExitChoice::OnCloseButton() {
    const auto minimize = settings_.ExitAnswer();
    if (minimize && !*minimize) {
        quit_();
        return;
    }
    if (!minimize)
        ask_();
    tray_.AddOwnIcon();
    // While Form2 asks, it keeps the program within reach without the icon.
    if (minimize && !tray_.IconPresent()) {
        tray_.KeepOnScreenUntilIcon();
        return;
    }
    if (minimize)
        form_.visible = false;
    tray_.HideAction();
}

void ExitChoice::OnDialogMinimize(Form2& dialog) {
    settings_.RememberExitAnswer(true, dialog.Check1.value == 1);
    dialog.visible = false; // stays loaded: the tick is kept for the next showing
    if (tray_.IconPresent())
        tray_.HideAction();
    else
        tray_.KeepOnScreenUntilIcon();
}

void ExitChoice::OnDialogQuit(Form2& dialog) {
    settings_.RememberExitAnswer(false, dialog.Check1.value == 1);
    // Unloading the main window discards the dialog too; this handler's
    // own button goes with it, so nothing may run after this call.
    quit_();
}

} // namespace lumatone
