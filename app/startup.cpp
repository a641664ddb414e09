// Start-up: the load handler of Form1.
#include "app/app.h"
#include "app/setting_controls.h"
#include "base/integer_text.h"
#include "hotkeys/locks.h"
#include "settings/table.h"

namespace lumatone {
namespace {

constexpr int kVibranceGroupHeight = 1540;
constexpr int kVolumeGroupHeight = 1560;

// A damaged value leaves its control in its design state.
void Restore(Form1& f, std::array<BindingGroup, 3>& groups, const SettingsSession& settings,
             std::size_t index) {
    const Setting& s = kSettingsTable[index];
    const auto usable = settings.Usable(index);
    switch (s.kind) {
    case SettingKind::Check:
        if (usable)
            CheckBoxOf(f, s).value = *usable;
        break;
    case SettingKind::Position:
        if (usable)
            SliderOf(f, s).SetValue(*usable);
        break;
    case SettingKind::Code:
        if (usable)
            groups[s.group].slots[s.slot].code->text = DecimalText(*usable);
        break;
    case SettingKind::Name:
        // A locked box still takes text from the program.
        groups[s.group].slots[s.slot].binding->text = settings.Stored(index);
        break;
    case SettingKind::Lock:
        RestoreLock(groups[s.group], usable.has_value());
        break;
    case SettingKind::ExitAnswer:
        break;
    }
}

// The codes of a group start-up removes; its hotkeys stay unbound until the program ends.
SettingsSession::Codes TakeCodes(BindingGroup& group) {
    SettingsSession::Codes held{};
    for (std::size_t i = 0; i < held.size(); ++i) {
        held[i] = ParseInt16(group.slots[i].code->text).value_or(0);
        group.slots[i].code->text = "0";
    }
    return held;
}

} // namespace

void App::ShowSessionNote() {
    // The row under the top groups: a lost settings file matters more than
    // what the session keeps from the program.
    if (settings.Unreadable())
        return;
    const std::string note = caps.system.SessionNote();
    form1.SettingsNote.caption = note;
    form1.SettingsNote.visible = !note.empty();
}

void App::Startup() {
    Form1& f = form1;
    settings.Load();
    if (settings.Unreadable()) {
        f.SettingsNote.caption = kNoteSettingsUnreadable;
        f.SettingsNote.visible = true;
    } else {
        ShowSessionNote();
    }

    auto groups = f.BindingGroups();
    for (std::size_t i = 0; i < kStartupSettingCount; ++i)
        Restore(f, groups, settings, i);

    if (f.Check2.value == 1)
        tray.HideAction();
    else
        tray.ShowAction();
    tray.AddOwnIcon();
    if (!tray.IconPresent() && !f.visible)
        tray.KeepOnScreenUntilIcon();
    f.Command6.Click();

    const Features features = caps.system.GetFeatures();
    if (!features.vibrance) {
        f.Frame3.visible = false;
        f.Frame4.top -= kVibranceGroupHeight;
        f.Line7.y1 -= kVibranceGroupHeight;
        f.Line7.y2 -= kVibranceGroupHeight;
        f.Frame6.top -= kVibranceGroupHeight;
        f.height -= kVibranceGroupHeight;
        settings.Hold(kVibranceGroup, TakeCodes(groups[kVibranceGroup]));
    }

    if (features.volume) {
        f.Timer3.enabled = true;
        return;
    }
    f.height -= kVolumeGroupHeight;
    settings.Hold(kVolumeGroup, TakeCodes(groups[kVolumeGroup]));
}

} // namespace lumatone
