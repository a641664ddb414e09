#include "app/exit_choice.h"

#include "app/app.h"
#include "base/integer_text.h"
#include "settings/ini.h"
#include "settings/keys.h"

namespace lumatone {

std::optional<bool> ReadsAsOne(std::string_view t) {
    if (!IsWholeNumberText(t))
        return std::nullopt;
    // A whole number too large for 32 bits is still a number, and not 1.
    return ParseInt32(t) == 1;
}

ExitChoice::ExitChoice(App& app) : app_(app) {
    app_.form1.Command2.onClick = [this] { OnMinimizeButton(); };
    app_.form1.Command1.onClick = [this] { OnCloseButton(); };
}

void ExitChoice::Attach(Form2& dialog) {
    dialog.Command1.onClick = [this] { OnDialogMinimize(); };
    dialog.Command2.onClick = [this] { OnDialogQuit(); };
}

void ExitChoice::OnMinimizeButton() {
    app_.tray.AddOwnIcon();
    if (app_.tray.IconPresent())
        app_.tray.HideAction();
    else
        app_.tray.KeepOnScreenUntilIcon();
}

void ExitChoice::OnCloseButton() {
    Capabilities& p = app_.caps;
    const std::string path = SettingsPath(p.system);
    // A missing section, an unreadable file or a damaged value all mean "ask".
    const auto saved = ParseInt16(ReadIni(p.profile, kExitSection, kSaveAnswerKey, path));
    const auto minimize =
        saved && *saved == 1
            ? ReadsAsOne(ReadIni(p.profile, kExitSection, kMinimizeOnExitKey, path))
            : std::nullopt;
    if (minimize && !*minimize) {
        app_.Unload(UnloadReason::UserQuit);
        return;
    }
    if (!minimize)
        app_.ShowForm2();
    app_.tray.AddOwnIcon();
    // While Form2 asks, it keeps the program within reach without the icon.
    if (minimize && !app_.tray.IconPresent()) {
        app_.tray.KeepOnScreenUntilIcon();
        return;
    }
    if (minimize)
        app_.form1.visible = false;
    app_.tray.HideAction();
}

void ExitChoice::RememberAnswer(bool minimize) {
    if (app_.settingsUnreadable)
        return;
    Capabilities& p = app_.caps;
    const std::string path = SettingsPath(p.system);
    const bool ticked = app_.form2 && app_.form2->Check1.value == 1;
    WriteIni(p.profile, kExitSection, kMinimizeOnExitKey, minimize ? "1" : "0", path);
    WriteIni(p.profile, kExitSection, kSaveAnswerKey, ticked ? "1" : "0", path);
}

void ExitChoice::OnDialogMinimize() {
    RememberAnswer(true);
    if (app_.form2)
        app_.form2->visible = false; // stays loaded: the tick is kept for the next showing
    if (app_.tray.IconPresent())
        app_.tray.HideAction();
    else
        app_.tray.KeepOnScreenUntilIcon();
}

void ExitChoice::OnDialogQuit() {
    RememberAnswer(false);
    // Unloading the main window discards the dialog too; this handler's
    // own button goes with it, so nothing may run after this call.
    app_.Unload(UnloadReason::UserQuit);
}

} // namespace lumatone
