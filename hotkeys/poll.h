// Reading the bound codes and deciding whether a binding pair fires.
#pragma once

#include "platform/keyboard.h"

#include <cstdint>
#include <string_view>

namespace lumatone {

// The key a code box binds: its whole number when that is 1..255, otherwise 0
// (unbound). Never throws and never allocates, whatever the text.
std::int32_t BoundKeyCode(std::string_view codeText);

// Both keys down at this moment, or both pressed since their previous queries.
// Both slots are always queried, first then second, so each key's
// pressed-since bit is consumed by this poll whatever the other key does.
bool PairFires(Keyboard& keyboard, std::string_view firstCode, std::string_view secondCode);

} // namespace lumatone
