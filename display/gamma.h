// Screen gamma from the gamma slider.
#pragma once

#include "platform/screen.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumatone {

class Form1;

constexpr std::int16_t kGammaResetPosition = 27;
constexpr std::int16_t kGammaMaxPosition = 37;

// What the "Gamma" group's note says.
inline constexpr const char* kNoteGammaRefused = "The screen refused this gamma level";
inline constexpr const char* kNoteGammaTakenOver = "Another program is setting the gamma";

double GammaForPosition(std::int16_t position);
std::int16_t LowWord(std::int32_t n);
// The ramp for exponent g; identical channels. Entries stay within 0..65535
// for any exponent.
void BuildGammaRamp(double exponent, GammaRamp& ramp);
// Builds the ramp and writes it to the whole screen. Refuses exponents that
// are not greater than 0 or not finite. True when the display accepted the ramp.
bool SetGamma(Screen& screen, double exponent);

// Keeps the slider's ramp on every display. Windows writes the whole-screen
// context's ramp to the primary display only, may refuse a ramp while
// reporting success, and resets ramps on display changes, after sleep, at
// unlock, and whenever another program writes its own.
class GammaKeeper {
  public:
    explicit GammaKeeper(Screen& screen) : screen_(screen) {}

    // The described write of this position, then the same ramp to every other
    // display, each read back. A write the user asked for also takes the
    // screen back from another program.
    void Write(std::int16_t position, bool byUser);
    // Timer2: one read-back per display; a display found changed gets the
    // ramp again, until it has been changed on this many ticks in a row.
    void Check();
    static constexpr int kOverwritesBeforeGivingUp = 3;

    // A ramp was written and no other program has taken the screen over.
    bool Keeping() const { return written_ && !gaveUp_; }
    // Empty while every display holds the ramp.
    const std::string& Note() const { return note_; }

  private:
    struct Display {
        std::string name; // empty: the whole screen, when no display is listed
        bool primary;
        bool holds; // took the last write and read it back
    };
    enum class ReadBack { Same, Differs, Unreadable };
    ReadBack Compare(DcHandle dc) const;
    ReadBack Read(const Display& display, bool wholeScreen) const;
    bool WriteOne(const Display& display);
    void NoteRefusals();

    Screen& screen_;
    bool written_ = false;
    bool gaveUp_ = false;
    int overwrites_ = 0; // ticks in a row that found a display changed
    std::int16_t position_ = 0;
    GammaRamp ramp_{};
    std::vector<Display> displays_;
    std::string note_;
};

// HScroll1's change handler, the "Reset" button (Command3) and the note of
// the "Gamma" group.
class GammaControls {
  public:
    GammaControls(Form1& form, Screen& screen);
    void OnChange();
    void OnReset();
    // A write the user asked for without moving the slider: a hotkey's.
    void Apply(std::int16_t position);
    // The system may have reset every ramp: a display change, a resume, an unlock.
    void Reapply();
    // Timer2's read-back.
    void Check();

  private:
    void ShowNote();

    Form1& form_;
    GammaKeeper keeper_;
};

} // namespace lumatone
