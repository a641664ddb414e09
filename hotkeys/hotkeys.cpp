#include "hotkeys/hotkeys.h"

#include "app/forms.h"

namespace lumatone {

Hotkeys::Hotkeys(Form1& form, Platform& platform) : form_(form), platform_(platform) {
    form_.Timer1.onTick = [this] { OnTimer1(); };
}

void Hotkeys::OnTimer1() { HotKey(107); }
std::int16_t Hotkeys::HotKey(std::int16_t) { return 0; }

} // namespace lumatone
