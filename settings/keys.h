// Every section and key of settings.ini. The user guide documents each of them
// (scripts/check-guide.sh holds the two lists together).
#pragma once

#include <array>
#include <cstddef>

namespace lumatone {

// Start-up options.
inline constexpr const char* kWindowsSection = "Windows";
inline constexpr const char* kLoadOnStartupKey = "loadonstartup";
inline constexpr const char* kMinimizeOnStartupKey = "minimizeonstartup";

// In each hotkey group's section: 1 while its binding boxes are locked.
inline constexpr const char* kLockKey = "lockkeys";

// The remembered answer of the exit dialog.
inline constexpr const char* kExitSection = "Exit Settings";
inline constexpr const char* kSaveAnswerKey = "saveanswer";
inline constexpr const char* kMinimizeOnExitKey = "minimizeonexit";

// The hotkey groups, indexing kGroupKeys and Form1::BindingGroups().
enum HotkeyGroup : std::size_t { kGammaGroup, kVibranceGroup, kVolumeGroup };

struct GroupKeys {
    const char* section;
    const char* positionKey; // the group's slider, or nullptr
    // Indexed like the group's binding slots.
    std::array<const char*, 6> codeKeys;
    std::array<const char*, 6> nameKeys;
};

// In the order of Form1::BindingGroups(). The reset keys differ by group on purpose:
// each spelling is part of the file format.
inline constexpr std::array<GroupKeys, 3> kGroupKeys = {{
    {"Gamma",
     "lastgamma",
     {"hotkeylight1", "hotkeylight2", "hotkeydark1", "hotkeydark2", "hotkeyreset", "hotkeyreset2"},
     {"hotkeylight1name", "hotkeylight2name", "hotkeydark1name", "hotkeydark2name",
      "hotkeyresetname", "hotkeyresetname2"}},
    {"Digital Vibrance",
     "lastdigi",
     {"hotkeylower1", "hotkeylower2", "hotkeyhigher1", "hotkeyhigher2", "hotkeyreset",
      "hotkeyreset2"},
     {"hotkeylower1name", "hotkeylower2name", "hotkeyhigher1name", "hotkeyhigher2name",
      "hotkeyresetname", "hotkeyresetname2"}},
    {"Volume",
     nullptr,
     {"hotkeylower1", "hotkeylower2", "hotkeyhigher1", "hotkeyhigher2", "hotkeyreset1",
      "hotkeyreset2"},
     {"hotkeylower1name", "hotkeylower2name", "hotkeyhigher1name", "hotkeyhigher2name",
      "hotkeyreset1name", "hotkeyreset2name"}},
}};

} // namespace lumatone
