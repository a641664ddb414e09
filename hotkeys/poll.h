// Reading the bound codes and deciding whether a binding pair fires.
#pragma once

#include "platform/keyboard.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace lumatone {

// The key a code box binds: its whole number when that is 1..255, otherwise 0
// (unbound). Never throws and never allocates, whatever the text.
std::int32_t BoundKeyCode(std::string_view codeText);

// Both keys down at this moment, or both pressed since their previous queries.
// Both slots are always queried, first then second, so each key's
// pressed-since bit is consumed by this poll whatever the other key does. An
// unbound slot (code 0) is never queried and gives 0.
bool PairFires(Keyboard& keyboard, std::int32_t firstCode, std::int32_t secondCode);

// The codes of the 18 binding slots, group by group.
using SlotCodes = std::array<std::int32_t, 18>;

// Tells a poll when every key's answer would be 0, so it may ask none: the
// previous poll asked every bound key, saw none down and fired nothing, and
// since then the session has had no input (a key cannot go down or be pressed
// without it) and no binding changed.
class QuietKeys {
  public:
    // Before the poll's first query.
    bool Skip(Keyboard& keyboard, const SlotCodes& codes);
    // After a poll that asked: whether it ran to its end with no key down and no pair fired.
    void Asked(bool quiet) { quiet_ = quiet && stamped_; }

  private:
    bool quiet_ = false;
    bool stamped_ = false; // the input time read before this poll can vouch for it
    std::uint32_t lastInputMs_ = 0;
    SlotCodes codes_{};
};

} // namespace lumatone
