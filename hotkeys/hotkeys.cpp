#include "hotkeys/hotkeys.h"

#include "base/integer_text.h"
#include "display/gamma.h"
#include "hotkeys/capture.h"
#include "hotkeys/locks.h"
#include "hotkeys/poll.h"
#include "model/forms.h"
#include "settings/keys.h"

#include <string_view>

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

// The pairs in poll order as a desktop's shortcut settings list them: an id
// that stays, and what the pair does.
constexpr std::array<std::array<std::string_view, 2>, 9> kPairNames = {{
    {"gamma-darker", "Gamma darker"},
    {"gamma-brighter", "Gamma brighter"},
    {"gamma-reset", "Gamma reset"},
    {"vibrance-lower", "Vibrance lower"},
    {"vibrance-higher", "Vibrance higher"},
    {"vibrance-reset", "Vibrance reset"},
    {"volume-lower", "Volume lower"},
    {"volume-louder", "Volume louder"},
    {"volume-mute", "Volume mute"},
}};

} // namespace

struct Hotkeys::Action {
    std::size_t group; // HotkeyGroup
    std::array<std::size_t, 2> slots;
    bool (*run)(Hotkeys&);
};

const std::array<Hotkeys::Action, 9> Hotkeys::kActions = {{
    {kGammaGroup, {0, 1}, [](Hotkeys& h) { return h.StepGamma(-kGammaStep); }},
    {kGammaGroup, {2, 3}, [](Hotkeys& h) { return h.StepGamma(kGammaStep); }},
    {kGammaGroup, {4, 5}, [](Hotkeys& h) { return h.ResetGamma(); }},
    {kVibranceGroup, {0, 1}, [](Hotkeys& h) { return h.StepVibrance(-kVibranceStep); }},
    {kVibranceGroup, {2, 3}, [](Hotkeys& h) { return h.StepVibrance(kVibranceStep); }},
    {kVibranceGroup, {4, 5}, [](Hotkeys& h) { return h.ResetVibrance(); }},
    // VScroll1 is inverted: a larger value is a lower volume.
    {kVolumeGroup, {0, 1}, [](Hotkeys& h) { return h.StepVolume(kVolumeStep); }},
    {kVolumeGroup, {2, 3}, [](Hotkeys& h) { return h.StepVolume(-kVolumeStep); }},
    {kVolumeGroup, {4, 5}, [](Hotkeys& h) { return h.ToggleMute(); }},
}};

Hotkeys::Hotkeys(Form1& form, Keyboard& keyboard, System& system, VibranceApplet& vibrance,
                 GammaControls& gamma)
    : form_(form), keyboard_(keyboard), system_(system), vibrance_(vibrance), gamma_(gamma),
      groups_(form.BindingGroups()), watchesPairs_(keyboard.WatchesPairs()) {
    form_.Timer1.onTick = [this] { OnTimer1(); };
    for (BindingGroup& group : groups_) {
        group.lock->onClick = [&group] { ToggleLock(group); };
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

namespace {

constexpr std::size_t kSlotsPerGroup = std::tuple_size_v<decltype(BindingGroup::slots)>;
static_assert(std::tuple_size_v<SlotCodes> == 3 * kSlotsPerGroup);

// Passes the queries on and notes whether any answer had a key down.
class NotingKeyboard : public Keyboard {
  public:
    explicit NotingKeyboard(Keyboard& keyboard) : keyboard_(keyboard) {}
    std::int16_t GetAsyncKeyState(std::int32_t virtualKey) override {
        const std::int16_t state = keyboard_.GetAsyncKeyState(virtualKey);
        anyDown = anyDown || (static_cast<std::uint16_t>(state) & 0x8000u) != 0;
        return state;
    }
    bool anyDown = false;

  private:
    Keyboard& keyboard_;
};

} // namespace

void Hotkeys::WatchPairs(const SlotCodes& codes) {
    if (!watchesPairs_)
        return;
    // Start-up and capture both change bindings; the tick sees every change.
    std::array<KeyPair, 9> pairs;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const Action& action = kActions[i];
        const std::size_t first = action.group * kSlotsPerGroup;
        pairs[i] = {kPairNames[i][0], kPairNames[i][1], codes[first + action.slots[0]],
                    codes[first + action.slots[1]]};
    }
    if (watched_ && *watched_ == pairs)
        return;
    watched_ = pairs;
    keyboard_.WatchPairs(pairs);
}

std::int16_t Hotkeys::HotKey(std::int16_t) {
    SlotCodes codes{};
    bool anyBound = false;
    std::size_t i = 0;
    for (const BindingGroup& group : groups_)
        for (const BindingSlot& slot : group.slots) {
            codes[i] = BoundKeyCode(slot.code->text);
            anyBound = anyBound || codes[i] != 0;
            ++i;
        }
    WatchPairs(codes);
    // With nothing bound no pair can fire, so the keyboard is left alone: the
    // F2 press this skips discarding is discarded by the first poll that has a
    // binding, before any pair reads it.
    if (!anyBound || quiet_.Skip(keyboard_, codes))
        return 0;
    NotingKeyboard keyboard(keyboard_);
    keyboard.GetAsyncKeyState(kF2);
    bool fired = false;
    for (const Action& action : kActions) {
        const std::size_t first = action.group * kSlotsPerGroup;
        if (!PairFires(keyboard, codes[first + action.slots[0]], codes[first + action.slots[1]]))
            continue;
        fired = true;
        if (!action.run(*this))
            break;
    }
    // A key left down keeps the polls asking too: Wine brings its key states
    // in line with the X server's on focus changes without counting input.
    quiet_.Asked(!fired && !keyboard.anyDown);
    return 0;
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

bool Hotkeys::ResetGamma() {
    form_.HScroll1.SetValue(kGammaResetPosition);
    // Written even when the slider was already at the reset position.
    gamma_.Apply(kGammaResetPosition);
    return true;
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

bool Hotkeys::ResetVibrance() {
    form_.HScroll2.SetValue(0);
    vibrance_.Run(0);
    return true;
}

bool Hotkeys::StepVolume(int delta) {
    Slider& s = form_.VScroll1;
    const int target = s.Value() + delta;
    if (target < s.min || target > s.max)
        return false;
    s.SetValue(target);
    return true;
}

// The last pair: the poll always ends here.
bool Hotkeys::ToggleMute() {
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
    return false;
}

} // namespace lumatone
