// Screen gamma from the gamma slider.
#pragma once

#include "display/gamma_keeper.h"
#include "display/gamma_ramp.h"

#include <cstdint>

namespace lumatone {

class Form1;

// HScroll1's change handler, the "Reset" button (Command3) and the note of
// the "Gamma" group.
class GammaControls {
  public:
    GammaControls(Form1& form, GammaOutput& output);
    void OnChange();
    void OnReset();
    // A write the user asked for without moving the slider: a hotkey's.
    void Apply(std::int16_t position);
    // The system may have reset every ramp: a display change, a resume, an unlock.
    void Reapply();
    // The session was locked or disconnected; an unlock or a connection re-applies.
    void OnSessionLock();
    void OnSessionUnlock();
    // Timer2's read-back.
    void Check();

  private:
    void ShowNote();

    Form1& form_;
    GammaKeeper keeper_;
};

} // namespace lumatone
