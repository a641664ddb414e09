// Where start-up and shutdown keep each hotkey group in settings.ini.
#pragma once

#include <array>

namespace lumatone {

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
