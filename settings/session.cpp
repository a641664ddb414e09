#include "settings/session.h"

#include "base/integer_text.h"
#include "settings/ini.h"

#include <algorithm>
#include <string_view>
#include <vector>

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
    std::string source = path;
    if (profile_.StateOf(path) == FileState::Missing) {
        // A copy alone is what a save cut off while it replaced the file left:
        // it holds the settings. Read where it lies when it cannot be renamed.
        std::vector<std::string> copies = {path + ".new"};
        for (std::string& copy : profile_.LeftoverCopies(path))
            copies.push_back(std::move(copy));
        for (const std::string& copy : copies) {
            if (profile_.StateOf(copy) != FileState::Readable)
                continue;
            if (!profile_.MoveOver(copy, path))
                source = copy;
            break;
        }
    }
    unreadable_ = profile_.StateOf(source) == FileState::Unreadable;
    for (std::size_t i = 0; i < stored_.size(); ++i)
        stored_[i] = ReadIni(profile_, kSettingsTable[i].section, kSettingsTable[i].key, source);
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

namespace {

// What reading gives back of a written value.
std::string AsReadBack(const std::string& value) {
    return value.substr(0, value.find('\0')).substr(0, 254);
}

// A write into a file that vanished would make a new one holding one key:
// each write but the one that creates the file finds it there or is not made.
bool WriteAll(Profile& profile, const SettingsSession::Values& values, const std::string& path,
              bool existing) {
    for (std::size_t i = 0; i < values.size(); ++i)
        if (((existing || i > 0) && profile.StateOf(path) != FileState::Readable) ||
            !WriteIni(profile, kSettingsTable[i].section, kSettingsTable[i].key, values[i], path))
            return false;
    return true;
}

bool HoldsAll(Profile& profile, const SettingsSession::Values& values, const std::string& path) {
    for (std::size_t i = 0; i < values.size(); ++i)
        if (ReadIni(profile, kSettingsTable[i].section, kSettingsTable[i].key, path) !=
            AsReadBack(values[i]))
            return false;
    return true;
}

// Bytes the values take as lines of the file.
std::uint64_t SizeOf(const SettingsSession::Values& values) {
    std::uint64_t size = 0;
    for (std::size_t i = 0; i < values.size(); ++i)
        size += std::string_view(kSettingsTable[i].section).size() +
                std::string_view(kSettingsTable[i].key).size() + values[i].size() + 8;
    return size;
}

} // namespace

bool SettingsSession::SaveThroughCopy(const Values& values, const std::string& path,
                                      FileState state) {
    // The copy's name is this program's own: another one saving at the same
    // time cannot remove it or write into it.
    const std::string copy = profile_.UniqueCopyName(path);
    if (copy.empty())
        return false;
    const bool fromFile = state != FileState::Missing;
    // Process ids come back: without the file, a copy already at this name may
    // be all that is left of the settings.
    if (!fromFile && profile_.StateOf(copy) != FileState::Missing)
        return false;
    bool saved = !fromFile || profile_.CopyOver(path, copy);
    saved = saved && WriteAll(profile_, values, copy, fromFile) &&
            HoldsAll(profile_, values, copy) && profile_.MoveOver(copy, path);
    // A replace may have removed the file and failed to put the copy in its place.
    if (!saved && (!fromFile || profile_.StateOf(path) != FileState::Missing))
        profile_.RemoveFile(copy);
    return saved;
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
    // power loss part-way leaves the old file whole.
    const FileState state = profile_.StateOf(path);
    if (state == FileState::Unreadable)
        return false;
    bool saved = SaveThroughCopy(values, path, state);
    // Where a copy is refused (no right to create files in the folder, the
    // file held without delete sharing) writing in place still works. Not on
    // a full disk: a rewrite there can cut the file short.
    if (!saved && profile_.StateOf(path) == state && profile_.HasRoomFor(path, SizeOf(values)))
        saved = WriteAll(profile_, values, path, state != FileState::Missing);
    // A copy by the one name all saves once shared is stale beside a whole file.
    if (saved)
        profile_.RemoveFile(path + ".new");
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
