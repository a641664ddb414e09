#include "settings/session.h"

#include "base/integer_text.h"
#include "settings/ini.h"

#include <algorithm>

namespace lumatone {
namespace {

std::optional<std::int16_t> WithinBounds(const Setting& setting, const std::string& text) {
    const auto v = ParseInt16(text);
    if (!v || *v < setting.min || *v > setting.max)
        return std::nullopt;
    return v;
}

} // namespace

std::optional<bool> ReadsAsOne(std::string_view t) {
    if (!IsWholeNumberText(t))
        return std::nullopt;
    // A whole number too large for 32 bits is still a number, and not 1.
    return ParseInt32(t) == 1;
}

SettingsSession::SettingsSession(Profile& profile, System& system)
    : profile_(profile), system_(system) {}

std::string SettingsSession::Path() const {
    return SettingsPath(system_);
}

void SettingsSession::Load() {
    const std::string path = Path();
    unreadable_ = profile_.StateOf(path) == FileState::Unreadable;
    for (std::size_t i = 0; i < stored_.size(); ++i)
        stored_[i] = ReadIni(profile_, kSettingsTable[i].section, kSettingsTable[i].key, path);
}

std::optional<std::int16_t> SettingsSession::Usable(std::size_t setting) const {
    return WithinBounds(kSettingsTable[setting], stored_[setting]);
}

void SettingsSession::Hold(std::size_t group, const Codes& codes) {
    held_[group] = codes;
}

SettingsSession::Codes SettingsSession::CodesToWriteBack(std::size_t group) const {
    Codes codes = HeldCodes(group);
    for (std::size_t slot = 0; slot < codes.size(); ++slot) {
        const std::size_t setting = SettingIndex(SettingKind::Code, group, slot);
        const auto asRead = ParseInt16(stored_[setting]);
        if (asRead && !Usable(setting))
            codes[slot] = *asRead;
    }
    return codes;
}

bool SettingsSession::Save(const Values& values) {
    const std::string path = Path();
    // Settings as they stand touch nothing: quitting from a read-only folder is no failure.
    bool unchanged = true;
    for (std::size_t i = 0; i < values.size() && unchanged; ++i)
        unchanged = ReadIni(profile_, kSettingsTable[i].section, kSettingsTable[i].key, path) ==
                    values[i].substr(0, values[i].find('\0'));
    if (unchanged)
        return true;

    // The kernel rewrites the file on every write. The writes go to a copy
    // beside it instead, which then replaces it in one step: a crash or a
    // power loss part-way leaves the old file whole. A copy left by such a
    // crash is overwritten here.
    const std::string copy = path + ".new";
    bool saved = profile_.StateOf(path) == FileState::Missing ? profile_.RemoveFile(copy)
                                                              : profile_.CopyOver(path, copy);
    for (std::size_t i = 0; i < values.size() && saved; ++i)
        saved =
            WriteIni(profile_, kSettingsTable[i].section, kSettingsTable[i].key, values[i], copy);
    saved = saved && profile_.MoveOver(copy, path);
    if (!saved)
        profile_.RemoveFile(copy);
    return saved;
}

std::optional<bool> SettingsSession::ExitAnswer() {
    const std::string path = Path();
    const Setting& withoutAsking = kSettingsTable[kSaveAnswerSetting];
    const Setting& answer = kSettingsTable[kMinimizeOnExitSetting];
    // A missing section, an unreadable file or a damaged value all mean "ask".
    if (!WithinBounds(withoutAsking,
                      ReadIni(profile_, withoutAsking.section, withoutAsking.key, path)))
        return std::nullopt;
    return ReadsAsOne(ReadIni(profile_, answer.section, answer.key, path));
}

void SettingsSession::RememberExitAnswer(bool minimize, bool withoutAsking) {
    if (unreadable_)
        return;
    const std::string path = Path();
    const auto write = [&](std::size_t setting, bool yes) {
        WriteIni(profile_, kSettingsTable[setting].section, kSettingsTable[setting].key,
                 yes ? "1" : "0", path);
    };
    write(kMinimizeOnExitSetting, minimize);
    write(kSaveAnswerSetting, withoutAsking);
}

} // namespace lumatone
