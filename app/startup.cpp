// Start-up: the load handler of Form1.
#include "app/app.h"
#include "base/integer_text.h"
#include "settings/ini.h"
#include "settings/keys.h"

#include <optional>
#include <string>

namespace lumatone {
namespace {

constexpr int kVibranceGroupHeight = 1540;
constexpr int kVolumeGroupHeight = 1560;
// Virtual-key codes; 0 is unbound.
constexpr std::int16_t kMaxKeyCode = 255;

struct Reader {
    Profile& profile;
    std::string path;

    std::string Text(const char* section, const char* key) const {
        return ReadIni(profile, section, key, path);
    }
    // The stored integer when it is usable for a control of range lo..hi.
    std::optional<std::int16_t> Int(const char* section, const char* key, std::int16_t lo,
                                    std::int16_t hi) const {
        auto v = ParseInt16(Text(section, key));
        if (!v || *v < lo || *v > hi)
            return std::nullopt;
        return v;
    }
    // A damaged value leaves the box at its design text "0". Returns an
    // integer the window cannot use, which a held group still writes back.
    std::optional<std::int16_t> Code(const char* section, const char* key, TextBox& box) const {
        const auto v = ParseInt16(Text(section, key));
        if (v && *v >= 0 && *v <= kMaxKeyCode) {
            box.text = DecimalText(*v);
            return std::nullopt;
        }
        return v;
    }
    void Check(const char* section, const char* key, CheckBox& box) const {
        if (auto v = Int(section, key, 0, 1))
            box.value = *v;
    }
    void Position(const char* section, const char* key, Slider& slider) const {
        if (auto v = Int(section, key, slider.min, slider.max))
            slider.SetValue(*v);
    }
    void Lock(const char* section, Button& lockButton) const {
        auto v = ParseInt16(Text(section, kLockKey));
        if (v && *v == 1)
            lockButton.Click();
    }
};

// The codes of a group start-up removes, set aside for shutdown; the group's
// hotkeys stay unbound until the program ends.
std::array<std::int16_t, 6> TakeCodes(BindingGroup& group) {
    std::array<std::int16_t, 6> held{};
    for (std::size_t i = 0; i < held.size(); ++i) {
        held[i] = ParseInt16(group.slots[i].code->text).value_or(0);
        group.slots[i].code->text = "0";
    }
    return held;
}

} // namespace

void App::Startup() {
    Form1& f = form1;
    const Reader r{caps.profile, SettingsPath(caps.system)};
    // The profile functions would read such a file as missing, and shutdown
    // would then write design values over every setting in it.
    settingsUnreadable = caps.profile.StateOf(r.path) == FileState::Unreadable;
    if (settingsUnreadable) {
        f.SettingsNote.caption = kNoteSettingsUnreadable;
        f.SettingsNote.visible = true;
    }

    r.Check(kWindowsSection, kLoadOnStartupKey, f.Check1);
    r.Check(kWindowsSection, kMinimizeOnStartupKey, f.Check2);

    auto groups = f.BindingGroups();
    std::array<UnusableCodes, 3> unusable{};
    Slider* const sliders[] = {&f.HScroll1, &f.HScroll2, nullptr};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const GroupKeys& keys = kGroupKeys[g];
        if (sliders[g] != nullptr)
            r.Position(keys.section, keys.positionKey, *sliders[g]);
        for (std::size_t i = 0; i < keys.codeKeys.size(); ++i)
            unusable[g][i] = r.Code(keys.section, keys.codeKeys[i], *groups[g].slots[i].code);
        r.Lock(keys.section, *groups[g].lock);
        // A locked box still takes text from the program.
        for (std::size_t i = 0; i < keys.nameKeys.size(); ++i)
            groups[g].slots[i].binding->text = r.Text(keys.section, keys.nameKeys[i]);
    }

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
        heldVibranceCodes = TakeCodes(groups[1]);
        unusableVibranceCodes = unusable[1];
        vibranceCodesHeld = true;
    }

    if (features.volume) {
        f.Timer3.enabled = true;
        return;
    }
    f.height -= kVolumeGroupHeight;
    heldVolumeCodes = TakeCodes(groups[2]);
    unusableVolumeCodes = unusable[2];
    volumeCodesHeld = true;
}

} // namespace lumatone
