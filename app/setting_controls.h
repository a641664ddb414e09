// The control of Form1 that a row of the settings table feeds and is taken from.
#pragma once

#include "model/forms.h"
#include "settings/table.h"

namespace lumatone {

inline CheckBox& CheckBoxOf(Form1& f, const Setting& s) {
    return s.slot == 0 ? f.Check1 : f.Check2;
}

inline Slider& SliderOf(Form1& f, const Setting& s) {
    return s.group == kGammaGroup ? f.HScroll1 : f.HScroll2;
}

} // namespace lumatone
