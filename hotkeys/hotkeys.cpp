#include "hotkeys/hotkeys.h"

#include "base/integer_text.h"
#include "display/gamma.h"
#include "hotkeys/capture.h"
#include "hotkeys/poll.h"
#include "model/forms.h"

namespace lumatone {
namespace {

// Queried and discarded at the start of every poll, so a pair holding F2
// counts only F2 being down, never an earlier press of it.
constexpr std::int32_t kF2 = 113;

// A hotkey never darkens the screen to position 0.
constexpr int kLowestGammaByHotkey = 1;
constexpr int kGammaStep = 1;
constexpr int kVibranceStep = 2;
constexpr int kVolumeStep = 5;
constexpr std::uint32_t kMuteSettleMs = 150;

enum Action : std::size_t {
    kDarker,
    kBrighter,
    kGammaReset,
    kVibranceLower,
    kVibranceHigher,
    kVibranceReset,
    kVolumeLower,
    kVolumeLouder,
    kMuteToggle,
    kActionCount
};

} // namespace

Hotkeys::Hotkeys(Form1& form, Keyboard& keyboard, System& system, VibranceApplet& vibrance,
                 GammaControls& gamma)
    : form_(form), keyboard_(keyboard), system_(system), vibrance_(vibrance), gamma_(gamma),
      groups_(form.BindingGroups()) {
    form_.Timer1.onTick = [this] { OnTimer1(); };
    for (BindingGroup& group : groups_) {
        group.lock->onClick = [this, &group] { ToggleLock(group); };
        for (BindingSlot& slot : group.slots) {
            const KeyNameStyle style =
                slot.binding == &form_.Text1 ? KeyNameStyle::Short : KeyNameStyle::Full;
            slot.binding->onKeyDown = [&slot, style](std::int16_t keyCode, int) {
                CaptureKey(*slot.binding, *slot.code, keyCode, style);
            };
        }
    }
}

void Hotkeys::OnTimer1() {
    form_.Label1.caption = DecimalText(form_.HScroll1.Value());
    form_.Label11.caption = DecimalText(form_.HScroll2.Value());
    HotKey(107);
}

std::int16_t Hotkeys::HotKey(std::int16_t) {
    keyboard_.GetAsyncKeyState(kF2);
    for (std::size_t action = 0; action < kActionCount; ++action) {
        const BindingGroup& group = groups_[action / 3];
        const BindingSlot& first = group.slots[(action % 3) * 2];
        const BindingSlot& second = group.slots[(action % 3) * 2 + 1];
        if (!PairFires(keyboard_, first.code->text, second.code->text))
            continue;
        if (!RunAction(action))
            return 0;
    }
    return 0;
}

bool Hotkeys::RunAction(std::size_t action) {
    switch (action) {
    case kDarker:
        return StepGamma(-kGammaStep);
    case kBrighter:
        return StepGamma(kGammaStep);
    case kGammaReset:
        ResetGamma();
        return true;
    case kVibranceLower:
        return StepVibrance(-kVibranceStep);
    case kVibranceHigher:
        return StepVibrance(kVibranceStep);
    case kVibranceReset:
        ResetVibrance();
        return true;
    // VScroll1 is inverted: a larger value is a lower volume.
    case kVolumeLower:
        return StepVolume(kVolumeStep);
    case kVolumeLouder:
        return StepVolume(-kVolumeStep);
    case kMuteToggle:
        ToggleMute();
        return false;
    default:
        return false;
    }
}

bool Hotkeys::StepGamma(int delta) {
    Slider& s = form_.HScroll1;
    const int target = s.Value() + delta;
    if (target < kLowestGammaByHotkey || target > s.max)
        return false;
    s.SetValue(target);
    // The change handler wrote this ramp already; the hotkey writes it again.
    gamma_.Apply(s.Value());
    return true;
}

void Hotkeys::ResetGamma() {
    form_.HScroll1.SetValue(kGammaResetPosition);
    // Written even when the slider was already at the reset position.
    gamma_.Apply(kGammaResetPosition);
}

bool Hotkeys::StepVibrance(int delta) {
    Slider& s = form_.HScroll2;
    const int target = s.Value() + delta;
    if (target < s.min || target > s.max)
        return false;
    s.SetValue(target);
    // The change handler started the applet already; the hotkey starts it again.
    vibrance_.Run(s.Value());
    return true;
}

void Hotkeys::ResetVibrance() {
    form_.HScroll2.SetValue(0);
    vibrance_.Run(0);
}

bool Hotkeys::StepVolume(int delta) {
    Slider& s = form_.VScroll1;
    const int target = s.Value() + delta;
    if (target < s.min || target > s.max)
        return false;
    s.SetValue(target);
    return true;
}

void Hotkeys::ToggleMute() {
    Slider& s = form_.VScroll1;
    Label& state = form_.Label15;
    if (state.caption == kMuteCaption) {
        volumeBeforeMute_ = s.Value();
        s.SetValue(s.max);
        state.caption = kUnmuteCaption;
    } else {
        s.SetValue(volumeBeforeMute_);
        state.caption = kMuteCaption;
    }
    // Held mute keys toggle about five times a second, not twenty.
    system_.Sleep(kMuteSettleMs);
}

void Hotkeys::ToggleLock(BindingGroup& group) {
    const bool lock = group.lock->caption == kUnlockedCaption;
    for (BindingSlot& slot : group.slots)
        slot.binding->enabled = !lock;
    group.lock->caption = lock ? kLockedCaption : kUnlockedCaption;
}

} // namespace lumatone
