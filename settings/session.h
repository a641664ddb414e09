// One run of the program's dealings with settings.ini: what start-up found in
// it, the codes of the groups the window cut off, the exit dialog's answer and
// the save at shutdown.
#pragma once

#include "platform/profile.h"
#include "platform/system.h"
#include "settings/table.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lumatone {

class SettingsSession {
  public:
    // The start-up values, indexed like kSettingsTable.
    using Values = std::array<std::string, kStartupSettingCount>;
    using Codes = std::array<std::int16_t, 6>;

    SettingsSession(Profile& profile, System& system);
    SettingsSession(const SettingsSession&) = delete;
    SettingsSession& operator=(const SettingsSession&) = delete;

    // Reads the values start-up restores.
    void Load();
    // Load found the file but could not read it. The profile functions would
    // read it as missing, and saving would then put design values over every
    // setting in it: this session writes nothing.
    bool Unreadable() const { return unreadable_; }
    // A value as Load found it; empty when missing.
    const std::string& Stored(std::size_t setting) const { return stored_[setting]; }
    // The stored number when it lies within the setting's bounds.
    std::optional<std::int16_t> Usable(std::size_t setting) const;

    // A group start-up cut off: the codes its boxes held, kept for shutdown.
    void Hold(std::size_t group, const Codes& codes);
    bool Held(std::size_t group) const { return held_[group].has_value(); }
    // All 0 for a group not held.
    Codes HeldCodes(std::size_t group) const { return held_[group].value_or(Codes{}); }
    // What a held group's boxes get back at shutdown: each code as the file
    // held it, also a number no key has; the held code where the file held no number.
    Codes CodesToWriteBack(std::size_t group) const;

    // Program folder, separator, "settings.ini", built afresh on every call.
    std::string Path() const;
    // Writes the values through a copy beside the file that then replaces it
    // in one step, or into the file itself where no copy can take its place;
    // true when all are stored.
    bool Save(const Values& values);

    // The remembered answer of the exit dialog, read afresh: true minimise,
    // false quit, nullopt ask.
    std::optional<bool> ExitAnswer();
    // The answer, then whether to act on it without asking.
    void RememberExitAnswer(bool minimize, bool withoutAsking);

  private:
    bool SaveThroughCopy(const Values& values, const std::string& path, FileState state);

    Profile& profile_;
    System& system_;
    Values stored_;
    bool unreadable_ = false;
    std::array<std::optional<Codes>, kGroupKeys.size()> held_;
};

// Compares a stored text numerically with 1: true or false for an integer
// text (blanks around it, a sign and leading zeros allowed, any length),
// nullopt for anything else.
std::optional<bool> ReadsAsOne(std::string_view text);

} // namespace lumatone
