// The slider's ramp kept on every display.
#pragma once

#include "platform/gamma_output.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumatone {

// What the "Gamma" group's note says.
inline constexpr const char* kNoteGammaRefused = "The screen refused this gamma level";
inline constexpr const char* kNoteGammaTakenOver = "Another program is setting the gamma";

// Windows writes the whole screen's ramp to the primary display only, may
// refuse a ramp while reporting success, and resets ramps on display changes,
// after sleep, at unlock, and whenever another program writes its own. Since
// Windows 10 1903 an extended desktop's whole screen may refuse while the
// primary's own context works.
class GammaKeeper {
  public:
    explicit GammaKeeper(GammaOutput& output)
        : output_(output), unavailable_(output.Unavailable()), refused_(output.RefusedNote()),
          note_(unavailable_) {
        if (refused_.empty())
            refused_ = kNoteGammaRefused;
    }

    // The described write of this position, then the same ramp to every other
    // display, each read back. A write the user asked for also takes the
    // screen back from another program; every write starts the count of
    // overwrites afresh.
    void Write(std::int16_t position, bool byUser);
    // Timer2: one read-back per display; a display found changed gets the
    // ramp again, until it has been changed on this many checks within a
    // minute: a tool that re-writes its own ramp every few seconds is left to it.
    void Check();
    static constexpr int kOverwritesBeforeGivingUp = 3;
    static constexpr std::uint64_t kChecksInAMinute = 40; // Timer2 checks every 1.5 s

    // A ramp was written and no other program has taken the screen over.
    bool Keeping() const { return written_ && !gaveUp_; }
    bool GaveUp() const { return gaveUp_; }
    // Given up, the displays are only listed again, so the user's next write
    // reaches one plugged in meanwhile and the note names none that is gone.
    void ListDisplays();
    // A locked or disconnected session reads back the lock screen's ramp, or
    // nothing of the user's: it is not checked until it is back.
    void SetSessionActive(bool active) { sessionActive_ = active; }
    // Empty while every display holds the ramp.
    const std::string& Note() const { return note_; }

  private:
    struct Display {
        std::string name; // empty: the whole screen, when no display is listed
        bool primary;
        bool holds;  // took the last write and read it back
        bool direct; // the primary, reached through its own context: the whole screen failed
    };
    enum class ReadBack { Same, Differs, Unreadable };
    // An empty name reads the whole screen.
    ReadBack Read(const std::string& name) const;
    bool WriteOne(Display& display);
    // The primary through the whole screen, else through its own context.
    bool WritePrimary(Display& primary, bool wholeScreenTook);
    void NoteRefusals();

    GammaOutput& output_;
    // Where the system shows no ramp: the only note, and nothing is written.
    const std::string unavailable_;
    std::string refused_;
    bool written_ = false;
    bool gaveUp_ = false;
    bool sessionActive_ = true;
    std::uint64_t checks_ = 0;
    // The checks that found a display changed, oldest first; 0: none.
    std::array<std::uint64_t, kOverwritesBeforeGivingUp> overwrites_{};
    std::int16_t position_ = 0;
    GammaRamp ramp_{};
    std::vector<Display> displays_;
    std::string note_;
};

} // namespace lumatone
