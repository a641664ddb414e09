// Capture of key bindings, the 50 ms poll with its nine actions, and the group locks.
#pragma once

#include "platform/platform.h"

#include <array>
#include <cstdint>

namespace lumatone {

class Button;
class Form1;
class TextBox;

inline constexpr const char* kUnlockedCaption = "Lock Hkeys";
inline constexpr const char* kLockedCaption = "Unlock Hkeys";
inline constexpr const char* kMuteCaption = "Mute";
inline constexpr const char* kUnmuteCaption = "Unmute";

class Hotkeys {
  public:
    Hotkeys(Form1& form, Platform& platform);
    Hotkeys(const Hotkeys&) = delete;
    Hotkeys& operator=(const Hotkeys&) = delete;

    void OnTimer1();
    // Polls the nine pairs in their fixed order; always 0.
    std::int16_t HotKey(std::int16_t unused);
    // The VScroll1 value at the last mute, restored by the next unmute.
    std::int16_t VolumeBeforeMute() const { return volumeBeforeMute_; }

  private:
    // One key of a pair: the box that shows its name and the one that keeps its code.
    struct Slot {
        TextBox* binding;
        TextBox* code;
    };
    // Six slots, three pairs, one lock button.
    struct Group {
        Button* lock;
        std::array<Slot, 6> slots;
    };

    static std::array<Group, 3> GroupsOf(Form1& form);
    void ToggleLock(Group& group);
    // Each action answers whether the poll goes on to the next pair.
    bool RunAction(std::size_t action);
    bool StepGamma(int delta);
    bool StepVibrance(int delta);
    bool StepVolume(int delta);
    void ResetGamma();
    void ResetVibrance();
    void ToggleMute();

    Form1& form_;
    Platform& platform_;
    std::array<Group, 3> groups_;
    std::int16_t volumeBeforeMute_ = 0;
};

} // namespace lumatone
