// Start-up from any settings file, then shutdown, on every Windows version the
// window adapts to. Start-up must finish with every control in its range; the
// file shutdown writes must bring the next start-up back to the same controls
// (and be written again unchanged); keys the program does not own are kept.
#include "base/integer_text.h"
#include "fuzz/fuzz_check.h"
#include "support/sim_app.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace lumatone;
using lumatone::testing::SimApp;

const char* const kProgramKeys[][2] = {
    {"Windows", "loadonstartup"},
    {"Windows", "minimizeonstartup"},
    {"Gamma", "lastgamma"},
    {"Gamma", "hotkeylight1"},
    {"Gamma", "hotkeylight2"},
    {"Gamma", "hotkeylight1name"},
    {"Gamma", "hotkeylight2name"},
    {"Gamma", "hotkeydark1"},
    {"Gamma", "hotkeydark2"},
    {"Gamma", "hotkeydark1name"},
    {"Gamma", "hotkeydark2name"},
    {"Gamma", "hotkeyreset"},
    {"Gamma", "hotkeyreset2"},
    {"Gamma", "hotkeyresetname"},
    {"Gamma", "hotkeyresetname2"},
    {"Gamma", "lockkeys"},
    {"Digital Vibrance", "lastdigi"},
    {"Digital Vibrance", "hotkeylower1"},
    {"Digital Vibrance", "hotkeylower2"},
    {"Digital Vibrance", "hotkeylower1name"},
    {"Digital Vibrance", "hotkeylower2name"},
    {"Digital Vibrance", "hotkeyhigher1"},
    {"Digital Vibrance", "hotkeyhigher2"},
    {"Digital Vibrance", "hotkeyhigher1name"},
    {"Digital Vibrance", "hotkeyhigher2name"},
    {"Digital Vibrance", "hotkeyreset"},
    {"Digital Vibrance", "hotkeyreset2"},
    {"Digital Vibrance", "hotkeyresetname"},
    {"Digital Vibrance", "hotkeyresetname2"},
    {"Digital Vibrance", "lockkeys"},
    {"Volume", "hotkeylower1"},
    {"Volume", "hotkeylower2"},
    {"Volume", "hotkeylower1name"},
    {"Volume", "hotkeylower2name"},
    {"Volume", "hotkeyhigher1"},
    {"Volume", "hotkeyhigher2"},
    {"Volume", "hotkeyhigher1name"},
    {"Volume", "hotkeyhigher2name"},
    {"Volume", "hotkeyreset1"},
    {"Volume", "hotkeyreset2"},
    {"Volume", "hotkeyreset1name"},
    {"Volume", "hotkeyreset2name"},
    {"Volume", "lockkeys"},
};

bool IsProgramKey(const std::string& section, const std::string& key) {
    for (const auto& k : kProgramKeys)
        if (fuzz::NameKey(section) == fuzz::NameKey(k[0]) &&
            fuzz::NameKey(key) == fuzz::NameKey(k[1]))
            return true;
    return false;
}

// Everything start-up restores, as one comparable list of texts.
std::vector<std::string> Snapshot(const App& app) {
    std::vector<std::string> s;
    for (const Control* c : app.form1.Controls()) {
        std::string e = c->name + (c->visible ? "" : " hidden") + "=";
        if (auto* t = dynamic_cast<const TextBox*>(c))
            e += t->text + (t->locked ? " locked" : "");
        else if (auto* b = dynamic_cast<const Button*>(c))
            e += b->caption;
        else if (auto* l = dynamic_cast<const Label*>(c))
            e += l->caption;
        else if (auto* k = dynamic_cast<const CheckBox*>(c))
            e += std::to_string(k->value);
        else if (auto* sl = dynamic_cast<const Slider*>(c))
            e += std::to_string(sl->Value());
        s.push_back(e);
    }
    for (std::int16_t code : app.settings.HeldCodes(kVibranceGroup))
        s.push_back("held vibrance " + std::to_string(code));
    for (std::int16_t code : app.settings.HeldCodes(kVolumeGroup))
        s.push_back("held volume " + std::to_string(code));
    s.push_back("height " + std::to_string(app.form1.height));
    s.push_back(app.form1.visible ? "shown" : "hidden");
    return s;
}

void CheckInRange(const App& app) {
    const Form1& f = app.form1;
    for (const Slider* sl : {&f.HScroll1, &f.HScroll2, &f.VScroll1})
        FUZZ_CHECK(sl->Value() >= sl->min && sl->Value() <= sl->max);
    for (const CheckBox* c : {&f.Check1, &f.Check2})
        FUZZ_CHECK(c->value == 0 || c->value == 1);
    for (const Button* b : {&f.Command7, &f.Command8, &f.Command10})
        FUZZ_CHECK(b->caption == "Lock Hkeys" || b->caption == "Unlock Hkeys");
    for (const TextBox* t : {&f.Text12, &f.Text13, &f.Text14, &f.Text15, &f.Text16, &f.Text24,
                             &f.Text17, &f.Text18, &f.Text19, &f.Text20, &f.Text21, &f.Text25,
                             &f.Text32, &f.Text33, &f.Text34, &f.Text35, &f.Text36, &f.Text37}) {
        const auto code = ParseInt16(t->text);
        FUZZ_CHECK(code && *code >= 0 && *code <= 255 && DecimalText(*code) == t->text);
    }
    for (std::int16_t code : app.settings.HeldCodes(kVibranceGroup))
        FUZZ_CHECK(code >= 0 && code <= 255);
    for (std::int16_t code : app.settings.HeldCodes(kVolumeGroup))
        FUZZ_CHECK(code >= 0 && code <= 255);
    FUZZ_CHECK(!app.Ended());
}

void RunOnVersion(const std::string& text, OsVersionInfo version) {
    SimApp first;
    first.sim.system.version = version;
    first.IniText() = text;

    std::vector<std::pair<std::string, std::string>> kept;
    std::vector<std::string> keptValues;
    for (const auto& [section, key] : fuzz::NamedPairs(text)) {
        if (IsProgramKey(section, key) || kept.size() >= 32)
            continue;
        kept.emplace_back(section, key);
        keptValues.push_back(first.Read(section, key));
    }

    App& a = first.Start();
    CheckInRange(a);
    const std::vector<std::string> restored = Snapshot(a);
    a.Unload(UnloadReason::UserQuit);
    FUZZ_CHECK(a.saveFailurePath.empty());
    FUZZ_CHECK(first.sim.shell.messageBoxes.empty());
    const std::string written = first.IniText();
    for (std::size_t i = 0; i < kept.size(); ++i)
        FUZZ_CHECK(first.Read(kept[i].first, kept[i].second) == keptValues[i]);
    for (const auto& k : kProgramKeys)
        FUZZ_CHECK(first.Read(k[0], k[1]).size() <= 254);

    SimApp second;
    second.sim.system.version = version;
    second.IniText() = written;
    App& b = second.Start();
    CheckInRange(b);
    FUZZ_CHECK(Snapshot(b) == restored);
    b.Unload(UnloadReason::UserQuit);
    FUZZ_CHECK(second.IniText() == written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (OsVersionInfo version :
         {OsVersionInfo{2, 5, 1}, OsVersionInfo{2, 6, 0}, OsVersionInfo{2, 6, 1}})
        RunOnVersion(text, version);
    return 0;
}
