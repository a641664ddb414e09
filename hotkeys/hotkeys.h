// Capture of key bindings, the 50 ms poll with its nine actions, and the lock buttons.
#pragma once

#include "display/gamma.h"
#include "hotkeys/poll.h"
#include "model/forms.h"
#include "platform/keyboard.h"
#include "platform/system.h"
#include "platform/vibrance_applet.h"

#include <array>
#include <cstdint>
#include <optional>

namespace lumatone {

inline constexpr const char* kMuteCaption = "Mute";
inline constexpr const char* kUnmuteCaption = "Unmute";

class Hotkeys {
  public:
    Hotkeys(Form1& form, Keyboard& keyboard, System& system, VibranceApplet& vibrance,
            GammaControls& gamma);
    Hotkeys(const Hotkeys&) = delete;
    Hotkeys& operator=(const Hotkeys&) = delete;

    void OnTimer1();
    // Polls the nine pairs in their fixed order; always 0.
    std::int16_t HotKey(std::int16_t unused);
    // The VScroll1 value at the last mute, restored by the next unmute.
    std::int16_t VolumeBeforeMute() const { return volumeBeforeMute_; }

  private:
    struct Action;
    // The nine pairs in poll order, each with what it does.
    static const std::array<Action, 9> kActions;

    // Hands the keyboard the pairs when they changed since it last had them.
    void WatchPairs(const SlotCodes& codes);
    // Each action answers whether the poll goes on to the next pair.
    bool StepGamma(int delta);
    bool StepVibrance(int delta);
    bool StepVolume(int delta);
    bool ResetGamma();
    bool ResetVibrance();
    bool ToggleMute();

    Form1& form_;
    Keyboard& keyboard_;
    System& system_;
    VibranceApplet& vibrance_;
    GammaControls& gamma_;
    std::array<BindingGroup, 3> groups_;
    std::int16_t volumeBeforeMute_ = 0;
    // Asked once: the tick of a keyboard that sees the keys costs nothing more.
    bool watchesPairs_;
    std::optional<std::array<KeyPair, 9>> watched_;
    QuietKeys quiet_;
};

} // namespace lumatone
