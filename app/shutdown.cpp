// Shutdown: the unload handler of Form1.
#include "app/app.h"
#include "base/integer_text.h"
#include "settings/ini.h"
#include "settings/keys.h"
#include "settings/regedit.h"

namespace lumatone {
namespace {

void PutBack(const std::array<std::int16_t, 6>& held, BindingGroup& group) {
    for (std::size_t i = 0; i < held.size(); ++i)
        group.slots[i].code->text = DecimalText(held[i]);
}

const char* LockFlag(const Button& lockButton) {
    return lockButton.caption == "Lock Hkeys" ? "0" : "1";
}

} // namespace

void App::Shutdown(UnloadReason reason) {
    Form1& f = form1;
    // Exactly the groups start-up held: asking the version again could differ.
    auto groups = f.BindingGroups();
    if (vibranceCodesHeld)
        PutBack(heldVibranceCodes, groups[1]);
    if (volumeCodesHeld)
        PutBack(heldVolumeCodes, groups[2]);

    const std::string path = SettingsPath(platform.system);
    bool saved = true;
    auto write = [&](const char* section, const char* key, const std::string& value) {
        saved = WriteIni(platform.profile, section, key, value, path) && saved;
    };

    write(kWindowsSection, kLoadOnStartupKey, DecimalText(f.Check1.value));
    write(kWindowsSection, kMinimizeOnStartupKey, DecimalText(f.Check2.value));

    const Slider* const sliders[] = {&f.HScroll1, &f.HScroll2, nullptr};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const GroupKeys& keys = kGroupKeys[g];
        if (sliders[g] != nullptr)
            write(keys.section, keys.positionKey, DecimalText(sliders[g]->Value()));
        // Pair by pair: both codes, then both names.
        for (std::size_t i = 0; i < keys.codeKeys.size(); i += 2) {
            write(keys.section, keys.codeKeys[i], groups[g].slots[i].code->text);
            write(keys.section, keys.codeKeys[i + 1], groups[g].slots[i + 1].code->text);
            write(keys.section, keys.nameKeys[i], groups[g].slots[i].binding->text);
            write(keys.section, keys.nameKeys[i + 1], groups[g].slots[i + 1].binding->text);
        }
        write(keys.section, kLockKey, LockFlag(*groups[g].lock));
    }

    if (f.Check1.value == 1)
        WriteRegValue(platform.registry, kRunValuePath,
                      AutostartCommand(platform.system.ProgramFolder(),
                                       platform.system.PathSeparator(), platform.system.ExeName()));
    else
        RemoveRegValue(platform.registry, kRunValuePath);

    tray.RemoveTrayIcon();

    saveFailurePath = saved ? std::string() : path;
    // Told once, on a quit the user chose; a system shutdown is never held up.
    if (!saved && reason == UnloadReason::UserQuit)
        platform.shell.MessageBox(0,
                                  "Lumatone could not save its settings to\r\n" + path +
                                      "\r\n\r\nThe folder may be read-only or the disk full. "
                                      "Changes made since the last start will be gone at "
                                      "the next start.",
                                  "Lumatone", kMbOk | kMbIconWarning);
}

} // namespace lumatone
