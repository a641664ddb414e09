// Shutdown: the unload handler of Form1.
#include "app/app.h"
#include "base/integer_text.h"
#include "settings/ini.h"
#include "settings/keys.h"
#include "settings/regedit.h"

#include <algorithm>

namespace lumatone {
namespace {

void PutBack(const std::array<std::int16_t, 6>& held, const UnusableCodes& unusable,
             BindingGroup& group) {
    for (std::size_t i = 0; i < held.size(); ++i)
        group.slots[i].code->text = DecimalText(unusable[i].value_or(held[i]));
}

const char* LockFlag(const Button& lockButton) {
    return lockButton.caption == "Lock Hkeys" ? "0" : "1";
}

} // namespace

bool App::SaveSettings(const std::vector<Entry>& entries, const std::string& path) {
    Profile& profile = caps.profile;
    // Settings as they stand touch nothing: quitting from a read-only folder is no failure.
    if (std::all_of(entries.begin(), entries.end(), [&](const Entry& e) {
            return ReadIni(profile, e.section, e.key, path) ==
                   e.value.substr(0, e.value.find('\0'));
        }))
        return true;

    // The kernel rewrites the file on every write. The writes go to a copy
    // beside it instead, which then replaces it in one step: a crash or a
    // power loss part-way leaves the old file whole. A copy left by such a
    // crash is overwritten here.
    const std::string copy = path + ".new";
    bool saved = profile.StateOf(path) == FileState::Missing ? profile.RemoveFile(copy)
                                                             : profile.CopyOver(path, copy);
    for (const Entry& e : entries)
        saved = saved && WriteIni(profile, e.section, e.key, e.value, copy);
    saved = saved && profile.MoveOver(copy, path);
    if (!saved)
        profile.RemoveFile(copy);
    return saved;
}

void App::Shutdown(UnloadReason reason) {
    Form1& f = form1;
    // Design values would replace every setting the file holds.
    if (settingsUnreadable) {
        tray.RemoveTrayIcon();
        return;
    }
    // Exactly the groups start-up held: asking the version again could differ.
    auto groups = f.BindingGroups();
    if (vibranceCodesHeld)
        PutBack(heldVibranceCodes, unusableVibranceCodes, groups[1]);
    if (volumeCodesHeld)
        PutBack(heldVolumeCodes, unusableVolumeCodes, groups[2]);

    std::vector<Entry> entries;
    entries.push_back({kWindowsSection, kLoadOnStartupKey, DecimalText(f.Check1.value)});
    entries.push_back({kWindowsSection, kMinimizeOnStartupKey, DecimalText(f.Check2.value)});

    const Slider* const sliders[] = {&f.HScroll1, &f.HScroll2, nullptr};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const GroupKeys& keys = kGroupKeys[g];
        if (sliders[g] != nullptr)
            entries.push_back({keys.section, keys.positionKey, DecimalText(sliders[g]->Value())});
        // Pair by pair: both codes, then both names.
        for (std::size_t i = 0; i < keys.codeKeys.size(); i += 2) {
            entries.push_back({keys.section, keys.codeKeys[i], groups[g].slots[i].code->text});
            entries.push_back(
                {keys.section, keys.codeKeys[i + 1], groups[g].slots[i + 1].code->text});
            entries.push_back({keys.section, keys.nameKeys[i], groups[g].slots[i].binding->text});
            entries.push_back(
                {keys.section, keys.nameKeys[i + 1], groups[g].slots[i + 1].binding->text});
        }
        entries.push_back({keys.section, kLockKey, LockFlag(*groups[g].lock)});
    }
    const std::string path = SettingsPath(caps.system);
    const bool saved = SaveSettings(entries, path);

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
