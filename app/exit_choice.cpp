#include "app/exit_choice.h"

#include "app/app.h"
#include "settings/ini.h"
#include "settings/integer_text.h"

namespace lumatone {
namespace {

constexpr const char* kSection = "Exit Settings";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<bool> ReadsAsOne(std::string_view t) {
    while (!t.empty() && IsBlank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && IsBlank(t.back()))
        t.remove_suffix(1);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    if (t.empty())
        return std::nullopt;
    for (char c : t)
        if (c < '0' || c > '9')
            return std::nullopt;
    const auto first = t.find_first_not_of('0');
    return !negative && first != std::string_view::npos && t.substr(first) == "1";
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
    app_.tray.HideAction();
}

void ExitChoice::OnCloseButton() {
    Platform& p = app_.platform;
    const std::string path = SettingsPath(p.system);
    // A missing section, an unreadable file or a damaged value all mean "ask".
    const auto saved = ParseInt16(ReadIni(p.profile, kSection, "saveanswer", path));
    const auto minimize = saved && *saved == 1
                              ? ReadsAsOne(ReadIni(p.profile, kSection, "minimizeonexit", path))
                              : std::nullopt;
    if (minimize && !*minimize) {
        app_.Unload(UnloadReason::UserQuit);
        return;
    }
    if (minimize)
        app_.form1.visible = false;
    else
        app_.ShowForm2();
    app_.tray.AddOwnIcon();
    app_.tray.HideAction();
}

void ExitChoice::RememberAnswer(bool minimize) {
    Platform& p = app_.platform;
    const std::string path = SettingsPath(p.system);
    const bool ticked = app_.form2 && app_.form2->Check1.value == 1;
    WriteIni(p.profile, kSection, "minimizeonexit", minimize ? "1" : "0", path);
    WriteIni(p.profile, kSection, "saveanswer", ticked ? "1" : "0", path);
}

void ExitChoice::OnDialogMinimize() {
    RememberAnswer(true);
    if (app_.form2)
        app_.form2->visible = false; // stays loaded: the tick is kept for the next showing
    app_.tray.HideAction();
}

void ExitChoice::OnDialogQuit() {
    RememberAnswer(false);
    // Unloading the main window discards the dialog too; this handler's
    // own button goes with it, so nothing may run after this call.
    app_.Unload(UnloadReason::UserQuit);
}

} // namespace lumatone
