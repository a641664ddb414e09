// The lock of a hotkey group: while locked, its binding boxes take no keys;
// its hotkeys keep working. The lock button's caption is the state.
#pragma once

#include "model/forms.h"

namespace lumatone {

inline constexpr const char* kUnlockedCaption = "Lock Hkeys";
inline constexpr const char* kLockedCaption = "Unlock Hkeys";

// Any caption but the unlocked one counts as locked.
bool IsLocked(const BindingGroup& group);
// The lock button's click.
void ToggleLock(BindingGroup& group);
// Brings the group to the stored state through its button, as a click would.
void RestoreLock(BindingGroup& group, bool locked);

} // namespace lumatone
