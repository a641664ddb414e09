// Every value of settings.ini in one table: what it is, which control it
// belongs to and which numbers the program takes from it. Start-up reads and
// shutdown writes by walking it.
#pragma once

#include "settings/keys.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace lumatone {

enum class SettingKind {
    Check,      // a check box's tick
    Position,   // a hotkey group's slider
    Code,       // a binding slot's virtual-key code, 0 unbound
    Name,       // a binding slot's key name, taken and stored verbatim
    Lock,       // a hotkey group's lock
    ExitAnswer, // the exit dialog's answer and whether to act on it unasked: 1 yes
};

struct Setting {
    const char* section;
    const char* key;
    SettingKind kind;
    // The stored numbers the control can take; any other text leaves it as it is.
    std::int16_t min = 0;
    std::int16_t max = 0;
    // A hotkey group (HotkeyGroup) and its binding slot; for a check box, the
    // box (0 Check1, 1 Check2) in slot.
    std::size_t group = 0;
    std::size_t slot = 0;
};

// The values start-up restores and shutdown writes.
inline constexpr std::size_t kStartupSettingCount = 43;

namespace settings_table {

// Virtual-key codes; 0 is unbound.
inline constexpr std::int16_t kMaxKeyCode = 255;
// The ranges of HScroll1 and HScroll2.
inline constexpr std::array<std::int16_t, 2> kPositionMax = {37, 100};

consteval std::array<Setting, kStartupSettingCount + 2> Make() {
    std::array<Setting, kStartupSettingCount + 2> t{};
    std::size_t n = 0;
    t[n++] = {kWindowsSection, kLoadOnStartupKey, SettingKind::Check, 0, 1, 0, 0};
    t[n++] = {kWindowsSection, kMinimizeOnStartupKey, SettingKind::Check, 0, 1, 0, 1};
    for (std::size_t g = 0; g < kGroupKeys.size(); ++g) {
        const GroupKeys& keys = kGroupKeys[g];
        if (keys.positionKey != nullptr)
            t[n++] = {keys.section, keys.positionKey, SettingKind::Position, 0, kPositionMax[g], g};
        // Pair by pair: both codes, then both names.
        for (std::size_t first = 0; first < keys.codeKeys.size(); first += 2) {
            for (std::size_t s = first; s < first + 2; ++s)
                t[n++] = {keys.section, keys.codeKeys[s], SettingKind::Code, 0, kMaxKeyCode, g, s};
            for (std::size_t s = first; s < first + 2; ++s)
                t[n++] = {keys.section, keys.nameKeys[s], SettingKind::Name, 0, 0, g, s};
        }
        // Only a 1 locks: any other value leaves the group unlocked.
        t[n++] = {keys.section, kLockKey, SettingKind::Lock, 1, 1, g};
    }
    // The answer first: a write that fails part-way never leaves "do not ask"
    // beside an older answer.
    t[n++] = {kExitSection, kMinimizeOnExitKey, SettingKind::ExitAnswer, 1, 1, 0, 0};
    t[n++] = {kExitSection, kSaveAnswerKey, SettingKind::ExitAnswer, 1, 1, 0, 1};
    if (n != t.size())
        throw "the table's size and its rows disagree";
    return t;
}

} // namespace settings_table

// The start-up values first, in the order shutdown writes them.
inline constexpr std::array<Setting, kStartupSettingCount + 2> kSettingsTable =
    settings_table::Make();

inline constexpr std::size_t kMinimizeOnExitSetting = kStartupSettingCount;
inline constexpr std::size_t kSaveAnswerSetting = kStartupSettingCount + 1;

// Where in the table a kind's row for that group and slot stands.
constexpr std::size_t SettingIndex(SettingKind kind, std::size_t group, std::size_t slot = 0) {
    for (std::size_t i = 0; i < kSettingsTable.size(); ++i)
        if (kSettingsTable[i].kind == kind && kSettingsTable[i].group == group &&
            kSettingsTable[i].slot == slot)
            return i;
    throw "no such setting";
}

} // namespace lumatone
