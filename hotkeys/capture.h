// Binding a key to a slot by pressing it in the slot's binding box.
#pragma once

#include "hotkeys/key_names.h"

#include <cstdint>

namespace lumatone {

class TextBox;

// Every key sets the slot's code; only a named key changes the name shown, so
// an unnamed key (Scroll Lock, punctuation) binds while the old name stays.
// Codes outside 1..255 are no key and change nothing.
void CaptureKey(TextBox& bindingBox, TextBox& codeBox, std::int16_t virtualKey, KeyNameStyle style);

} // namespace lumatone
