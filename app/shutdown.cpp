// Shutdown: the unload handler of Form1.
#include "app/app.h"
#include "settings/ini.h"
#include "settings/integer_text.h"
#include "settings/regedit.h"

namespace lumatone {
namespace {

void PutBack(const std::array<std::int16_t, 6>& held, const std::array<TextBox*, 6>& boxes) {
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->text = DecimalText(held[i]);
}

const char* LockFlag(const Button& lockButton) {
    return lockButton.caption == "Lock Hkeys" ? "0" : "1";
}

} // namespace

void App::Shutdown(UnloadReason reason) {
    Form1& f = form1;
    // Exactly the groups start-up held: asking the version again could differ.
    if (vibranceCodesHeld)
        PutBack(heldVibranceCodes,
                {&f.Text17, &f.Text18, &f.Text19, &f.Text20, &f.Text21, &f.Text25});
    if (volumeCodesHeld)
        PutBack(heldVolumeCodes,
                {&f.Text32, &f.Text33, &f.Text34, &f.Text35, &f.Text36, &f.Text37});

    const std::string path = SettingsPath(platform.system);
    bool saved = true;
    auto write = [&](const char* section, const char* key, const std::string& value) {
        saved = WriteIni(platform.profile, section, key, value, path) && saved;
    };

    write("Windows", "loadonstartup", DecimalText(f.Check1.value));
    write("Windows", "minimizeonstartup", DecimalText(f.Check2.value));

    write("Gamma", "lastgamma", DecimalText(f.HScroll1.Value()));
    write("Gamma", "hotkeylight1", f.Text12.text);
    write("Gamma", "hotkeylight2", f.Text13.text);
    write("Gamma", "hotkeylight1name", f.Text1.text);
    write("Gamma", "hotkeylight2name", f.Text2.text);
    write("Gamma", "hotkeydark1", f.Text14.text);
    write("Gamma", "hotkeydark2", f.Text15.text);
    write("Gamma", "hotkeydark1name", f.Text3.text);
    write("Gamma", "hotkeydark2name", f.Text4.text);
    write("Gamma", "hotkeyreset", f.Text16.text);
    write("Gamma", "hotkeyreset2", f.Text24.text);
    write("Gamma", "hotkeyresetname", f.Text11.text);
    write("Gamma", "hotkeyresetname2", f.Text23.text);
    write("Gamma", "lockkeys", LockFlag(f.Command7));

    write("Digital Vibrance", "lastdigi", DecimalText(f.HScroll2.Value()));
    write("Digital Vibrance", "hotkeylower1", f.Text17.text);
    write("Digital Vibrance", "hotkeylower2", f.Text18.text);
    write("Digital Vibrance", "hotkeylower1name", f.Text5.text);
    write("Digital Vibrance", "hotkeylower2name", f.Text6.text);
    write("Digital Vibrance", "hotkeyhigher1", f.Text19.text);
    write("Digital Vibrance", "hotkeyhigher2", f.Text20.text);
    write("Digital Vibrance", "hotkeyhigher1name", f.Text7.text);
    write("Digital Vibrance", "hotkeyhigher2name", f.Text8.text);
    write("Digital Vibrance", "hotkeyreset", f.Text21.text);
    write("Digital Vibrance", "hotkeyreset2", f.Text25.text);
    write("Digital Vibrance", "hotkeyresetname", f.Text10.text);
    write("Digital Vibrance", "hotkeyresetname2", f.Text22.text);
    write("Digital Vibrance", "lockkeys", LockFlag(f.Command8));

    write("Volume", "hotkeylower1", f.Text32.text);
    write("Volume", "hotkeylower2", f.Text33.text);
    write("Volume", "hotkeylower1name", f.Text26.text);
    write("Volume", "hotkeylower2name", f.Text27.text);
    write("Volume", "hotkeyhigher1", f.Text34.text);
    write("Volume", "hotkeyhigher2", f.Text35.text);
    write("Volume", "hotkeyhigher1name", f.Text28.text);
    write("Volume", "hotkeyhigher2name", f.Text29.text);
    write("Volume", "hotkeyreset1", f.Text36.text);
    write("Volume", "hotkeyreset2", f.Text37.text);
    write("Volume", "hotkeyreset1name", f.Text30.text);
    write("Volume", "hotkeyreset2name", f.Text31.text);
    write("Volume", "lockkeys", LockFlag(f.Command10));

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
        platform.shell.MessageBox("Lumatone could not save its settings to\r\n" + path +
                                      "\r\n\r\nThe folder may be read-only or the disk full. "
                                      "Changes made since the last start will be gone at "
                                      "the next start.",
                                  "Lumatone", kMbOk | kMbIconWarning);
}

} // namespace lumatone
