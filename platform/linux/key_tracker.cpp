#include "platform/linux/key_tracker.h"

#include "platform/linux/x11_keys.h"

namespace lumatone {
namespace {

constexpr std::int32_t kLButton = 1, kRButton = 2, kMButton = 4;
constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t kPressedSince = 1;
constexpr unsigned kButton1Mask = 1U << 8;
// The left, middle and right buttons: the only ones a query reads.
constexpr unsigned kButtonsMask = 7U << 8;

// The X button of a mouse virtual key, 0 for none.
unsigned ButtonOf(std::int32_t virtualKey) {
    return virtualKey == kLButton ? 1 : virtualKey == kMButton ? 2 : virtualKey == kRButton ? 3 : 0;
}

} // namespace

void KeyTracker::Key(std::uint8_t keycode, bool pressed) {
    keymapStale_ = true;
    if (!pressed || saverOn_)
        return;
    // The sided code and the generic one both count the press.
    for (std::int32_t vk = 1; vk < 256; ++vk)
        for (std::uint8_t code : KeycodesForVirtualKey(vk))
            if (code == keycode)
                pressedSince_[static_cast<std::size_t>(vk)] = true;
}

void KeyTracker::Button(unsigned button, bool pressed) {
    for (std::int32_t vk : {kLButton, kRButton, kMButton}) {
        if (ButtonOf(vk) != button)
            continue;
        // The wheel's buttons change nothing the poll reads.
        buttonsStale_ = true;
        if (pressed && !saverOn_)
            pressedSince_[static_cast<std::size_t>(vk)] = true;
    }
}

void KeyTracker::Lost() {
    keymapStale_ = true;
    buttonsStale_ = true;
}

void KeyTracker::ScreenSaver(bool on) {
    saverOn_ = on;
    if (on)
        pressedSince_.fill(false);
}

void KeyTracker::Look(std::int64_t nowNs) {
    now_ = nowNs;
    bool anyKeyDown = false;
    for (std::uint8_t bits : keymap_)
        anyKeyDown = anyKeyDown || bits != 0;
    const bool anyButtonDown = (buttons_ & kButtonsMask) != 0;
    if (!followsEvents_ || nowNs - keymapAt_ >= (anyKeyDown ? kCheckNs : upCheckNs_))
        keymapStale_ = true;
    if (!followsEvents_ || nowNs - buttonsAt_ >= (anyButtonDown ? kCheckNs : upCheckNs_))
        buttonsStale_ = true;
}

std::int16_t KeyTracker::State(std::int32_t virtualKey, Server& server) {
    if (virtualKey < 1 || virtualKey > 255)
        return 0;
    auto& pressed = pressedSince_[static_cast<std::size_t>(virtualKey)];
    std::int16_t result = pressed ? kPressedSince : std::int16_t{0};
    pressed = false;
    if (saverOn_)
        return 0;
    const unsigned button = ButtonOf(virtualKey);
    if (button != 0 ? ButtonDown(button, server) : KeyDown(virtualKey, server))
        result |= kDown;
    return result;
}

bool KeyTracker::KeyDown(std::int32_t virtualKey, Server& server) {
    const Keycodes& codes = KeycodesForVirtualKey(virtualKey);
    if (codes.count == 0)
        return false;
    if (keymapStale_) {
        server.ReadKeymap(keymap_);
        keymapStale_ = false;
        keymapAt_ = now_;
    }
    for (std::uint8_t code : codes)
        if ((keymap_[code / 8U] >> (code % 8U)) & 1U)
            return true;
    return false;
}

bool KeyTracker::ButtonDown(unsigned button, Server& server) {
    if (buttonsStale_) {
        buttons_ = server.ReadButtons();
        buttonsStale_ = false;
        buttonsAt_ = now_;
    }
    return (buttons_ & (kButton1Mask << (button - 1))) != 0;
}

} // namespace lumatone
