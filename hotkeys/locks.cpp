#include "hotkeys/locks.h"

namespace lumatone {

bool IsLocked(const BindingGroup& group) {
    return group.lock->caption != kUnlockedCaption;
}

void ToggleLock(BindingGroup& group) {
    const bool lock = !IsLocked(group);
    for (BindingSlot& slot : group.slots)
        slot.binding->enabled = !lock;
    group.lock->caption = lock ? kLockedCaption : kUnlockedCaption;
}

void RestoreLock(BindingGroup& group, bool locked) {
    if (locked != IsLocked(group))
        group.lock->Click();
}

} // namespace lumatone
