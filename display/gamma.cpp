#include "display/gamma.h"

#include "base/integer_text.h"
#include "model/forms.h"

namespace lumatone {

GammaControls::GammaControls(Form1& form, GammaOutput& output) : form_(form), keeper_(output) {
    form_.HScroll1.onChange = [this] { OnChange(); };
    form_.Command3.onClick = [this] { OnReset(); };
    // A session that shows no ramp says so from the start.
    ShowNote();
}

void GammaControls::OnChange() {
    const std::int16_t p = form_.HScroll1.Value();
    Apply(p);
    form_.Label1.caption = DecimalText(p);
}

void GammaControls::OnReset() {
    // Already at the position the slider does not move: the press alone takes
    // the screen back from the program it was left to.
    if (form_.HScroll1.Value() == kGammaResetPosition && keeper_.GaveUp())
        Apply(kGammaResetPosition);
    form_.HScroll1.SetValue(kGammaResetPosition);
}

void GammaControls::Apply(std::int16_t position) {
    keeper_.Write(position, true);
    ShowNote();
}

void GammaControls::Reapply() {
    if (keeper_.GaveUp())
        keeper_.ListDisplays();
    if (!keeper_.Keeping())
        return;
    keeper_.Write(form_.HScroll1.Value(), false);
    ShowNote();
}

void GammaControls::OnSessionLock() {
    keeper_.SetSessionActive(false);
}

void GammaControls::OnSessionUnlock() {
    keeper_.SetSessionActive(true);
    Reapply();
}

void GammaControls::Check() {
    keeper_.Check();
    ShowNote();
}

void GammaControls::ShowNote() {
    form_.GammaNote.caption = keeper_.Note();
}

} // namespace lumatone
