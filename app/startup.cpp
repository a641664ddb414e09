// Start-up: the load handler of Form1.
#include "app/app.h"
#include "settings/ini.h"
#include "settings/integer_text.h"
#include "settings/version.h"

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
    // A damaged value leaves the box at its design text "0".
    void Code(const char* section, const char* key, TextBox& box) const {
        if (auto v = Int(section, key, 0, kMaxKeyCode))
            box.text = DecimalText(*v);
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
        auto v = ParseInt16(Text(section, "lockkeys"));
        if (v && *v == 1)
            lockButton.Click();
    }
};

std::array<std::int16_t, 6> TakeCodes(const std::array<TextBox*, 6>& boxes) {
    std::array<std::int16_t, 6> held{};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        held[i] = ParseInt16(boxes[i]->text).value_or(0);
        boxes[i]->text = "0";
    }
    return held;
}

} // namespace

void App::Startup() {
    Form1& f = form1;
    const Reader r{platform.profile, SettingsPath(platform.system)};

    r.Check("Windows", "loadonstartup", f.Check1);
    r.Check("Windows", "minimizeonstartup", f.Check2);

    r.Position("Gamma", "lastgamma", f.HScroll1);
    r.Code("Gamma", "hotkeylight1", f.Text12);
    r.Code("Gamma", "hotkeylight2", f.Text13);
    r.Code("Gamma", "hotkeydark1", f.Text14);
    r.Code("Gamma", "hotkeydark2", f.Text15);
    r.Code("Gamma", "hotkeyreset", f.Text16);
    r.Code("Gamma", "hotkeyreset2", f.Text24);
    r.Lock("Gamma", f.Command7);
    f.Text1.text = r.Text("Gamma", "hotkeylight1name");
    f.Text2.text = r.Text("Gamma", "hotkeylight2name");
    f.Text3.text = r.Text("Gamma", "hotkeydark1name");
    f.Text4.text = r.Text("Gamma", "hotkeydark2name");
    f.Text11.text = r.Text("Gamma", "hotkeyresetname");
    f.Text23.text = r.Text("Gamma", "hotkeyresetname2");

    r.Position("Digital Vibrance", "lastdigi", f.HScroll2);
    r.Code("Digital Vibrance", "hotkeylower1", f.Text17);
    r.Code("Digital Vibrance", "hotkeylower2", f.Text18);
    r.Code("Digital Vibrance", "hotkeyhigher1", f.Text19);
    r.Code("Digital Vibrance", "hotkeyhigher2", f.Text20);
    r.Code("Digital Vibrance", "hotkeyreset", f.Text21);
    r.Code("Digital Vibrance", "hotkeyreset2", f.Text25);
    r.Lock("Digital Vibrance", f.Command8);
    f.Text5.text = r.Text("Digital Vibrance", "hotkeylower1name");
    f.Text6.text = r.Text("Digital Vibrance", "hotkeylower2name");
    f.Text7.text = r.Text("Digital Vibrance", "hotkeyhigher1name");
    f.Text8.text = r.Text("Digital Vibrance", "hotkeyhigher2name");
    f.Text10.text = r.Text("Digital Vibrance", "hotkeyresetname");
    f.Text22.text = r.Text("Digital Vibrance", "hotkeyresetname2");

    r.Code("Volume", "hotkeylower1", f.Text32);
    r.Code("Volume", "hotkeylower2", f.Text33);
    r.Code("Volume", "hotkeyhigher1", f.Text34);
    r.Code("Volume", "hotkeyhigher2", f.Text35);
    r.Code("Volume", "hotkeyreset1", f.Text36);
    r.Code("Volume", "hotkeyreset2", f.Text37);
    r.Lock("Volume", f.Command10);
    f.Text26.text = r.Text("Volume", "hotkeylower1name");
    f.Text27.text = r.Text("Volume", "hotkeylower2name");
    f.Text28.text = r.Text("Volume", "hotkeyhigher1name");
    f.Text29.text = r.Text("Volume", "hotkeyhigher2name");
    f.Text30.text = r.Text("Volume", "hotkeyreset1name");
    f.Text31.text = r.Text("Volume", "hotkeyreset2name");

    if (f.Check2.value == 1)
        tray.HideAction();
    else
        tray.ShowAction();
    tray.AddOwnIcon();
    f.Command6.Click();

    if (GetWindowsVersionName(platform.system) != "Windows XP") {
        f.Frame3.visible = false;
        f.Frame4.top -= kVibranceGroupHeight;
        f.Line7.y1 -= kVibranceGroupHeight;
        f.Line7.y2 -= kVibranceGroupHeight;
        f.Frame6.top -= kVibranceGroupHeight;
        f.height -= kVibranceGroupHeight;
        heldVibranceCodes =
            TakeCodes({&f.Text17, &f.Text18, &f.Text19, &f.Text20, &f.Text21, &f.Text25});
        vibranceCodesHeld = true;
    }

    const std::string name = GetWindowsVersionName(platform.system);
    if (name == "Windows Vista" || GetWindowsVersionName(platform.system) == "Windows XP") {
        f.Timer3.enabled = true;
        return;
    }
    f.height -= kVolumeGroupHeight;
    heldVolumeCodes = TakeCodes({&f.Text32, &f.Text33, &f.Text34, &f.Text35, &f.Text36, &f.Text37});
    volumeCodesHeld = true;
}

} // namespace lumatone
