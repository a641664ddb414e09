// Shutdown: the unload handler of Form1.
#include "app/app.h"
#include "app/setting_controls.h"
#include "base/integer_text.h"
#include "hotkeys/locks.h"
#include "settings/regedit.h"
#include "settings/table.h"

namespace lumatone {
namespace {

std::string Value(Form1& f, std::array<BindingGroup, 3>& groups, const Setting& s) {
    switch (s.kind) {
    case SettingKind::Check:
        return DecimalText(CheckBoxOf(f, s).value);
    case SettingKind::Position:
        return DecimalText(SliderOf(f, s).Value());
    case SettingKind::Code:
        return groups[s.group].slots[s.slot].code->text;
    case SettingKind::Name:
        return groups[s.group].slots[s.slot].binding->text;
    case SettingKind::Lock:
        return IsLocked(groups[s.group]) ? "1" : "0";
    case SettingKind::ExitAnswer:
        break;
    }
    return {};
}

} // namespace

bool App::SaveSettings() {
    return form1.loaded && !settings.Unreadable() && WriteSettings();
}

bool App::WriteSettings() {
    Form1& f = form1;
    // Exactly the groups start-up held: asking the version again could differ.
    auto groups = f.BindingGroups();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (!settings.Held(g))
            continue;
        const SettingsSession::Codes codes = settings.CodesToWriteBack(g);
        for (std::size_t i = 0; i < codes.size(); ++i)
            groups[g].slots[i].code->text = DecimalText(codes[i]);
    }

    SettingsSession::Values values;
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = Value(f, groups, kSettingsTable[i]);
    return settings.Save(values);
}

void App::Shutdown(UnloadReason reason) {
    Form1& f = form1;
    if (settings.Unreadable()) {
        tray.RemoveTrayIcon();
        return;
    }
    const std::string path = settings.Path();
    const bool saved = WriteSettings();

    if (f.Check1.value == 1)
        caps.autostart.Enable(AutostartCommand(caps.system.ProgramFolder(),
                                               caps.system.PathSeparator(), caps.system.ExeName(),
                                               caps.system.GetFeatures().family));
    else
        caps.autostart.Disable();

    tray.RemoveTrayIcon();

    saveFailurePath = saved ? std::string() : path;
    // Told once, on a quit the user chose; a system shutdown is never held up.
    if (!saved && reason == UnloadReason::UserQuit)
        caps.messages.Show("Lumatone could not save its settings to\r\n" + path +
                               "\r\n\r\nThe folder may be read-only or the disk full. "
                               "Changes made since the last start will be gone at the next "
                               "start.",
                           "Lumatone", MessageButtons::Ok, MessageIcon::Warning, false, false);
}

} // namespace lumatone
