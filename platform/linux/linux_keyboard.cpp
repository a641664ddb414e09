#include "platform/linux/linux_keyboard.h"

#include "platform/linux/x11_keys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <array>
#include <chrono>
#include <cstdint>

namespace lumatone {
namespace {

constexpr std::int32_t kLButton = 1, kRButton = 2, kMButton = 4;
constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t kPressedSince = 1;

// The poll asks about all its keys within microseconds, every 50 ms. One look
// at the server (the events that arrived, one state read) serves every query
// this close to the first: each look costs a system call or a round trip, and
// anything that changes meanwhile shows at the next look, with its press kept.
constexpr std::int64_t kBurstNs = 10'000'000;

std::int64_t NowNs() {
    return std::chrono::steady_clock::now().time_since_epoch() / std::chrono::nanoseconds(1);
}

// The X button of a mouse virtual key, 0 for none.
unsigned ButtonOf(std::int32_t virtualKey) {
    return virtualKey == kLButton ? 1 : virtualKey == kMButton ? 2 : virtualKey == kRButton ? 3 : 0;
}

} // namespace

struct LinuxKeyboard::State {
    Display* display = nullptr;
    int xiOpcode = -1; // -1: no raw events, so nothing is "pressed since"

    // The virtual keys pressed since their last query.
    std::array<bool, 256> pressedSince{};

    std::int64_t lookedAt = -1;
    char keymap[32] = {};
    bool keymapRead = false;
    unsigned buttonMask = 0;
    bool buttonsRead = false;

    void Pressed(std::uint8_t keycode) {
        // The sided code and the generic one both count the press.
        for (std::int32_t vk = 1; vk < 256; ++vk)
            for (std::uint8_t code : KeycodesForVirtualKey(vk))
                if (code == keycode)
                    pressedSince[static_cast<std::size_t>(vk)] = true;
    }

    // Takes in whatever events have arrived, without waiting for more.
    void Drain() {
        while (::XPending(display) > 0) {
            XEvent event;
            ::XNextEvent(display, &event);
            XGenericEventCookie& cookie = event.xcookie;
            if (event.type != GenericEvent || cookie.extension != xiOpcode ||
                !::XGetEventData(display, &cookie))
                continue;
            const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
            switch (cookie.evtype) {
            case XI_RawKeyPress:
                if (raw->detail >= 0 && raw->detail < 256)
                    Pressed(static_cast<std::uint8_t>(raw->detail));
                break;
            case XI_RawButtonPress:
                for (std::int32_t vk : {kLButton, kRButton, kMButton})
                    if (ButtonOf(vk) == static_cast<unsigned>(raw->detail))
                        pressedSince[static_cast<std::size_t>(vk)] = true;
                break;
            default:
                break;
            }
            ::XFreeEventData(display, &cookie);
        }
    }

    void Look() {
        const std::int64_t now = NowNs();
        if (lookedAt >= 0 && now - lookedAt <= kBurstNs)
            return;
        lookedAt = now;
        keymapRead = false;
        buttonsRead = false;
        Drain();
    }

    bool KeyDown(std::int32_t virtualKey) {
        const Keycodes& codes = KeycodesForVirtualKey(virtualKey);
        if (codes.count == 0)
            return false;
        if (!keymapRead) {
            ::XQueryKeymap(display, keymap);
            keymapRead = true;
        }
        for (std::uint8_t code : codes)
            if ((keymap[code / 8] >> (code % 8)) & 1)
                return true;
        return false;
    }

    bool ButtonDown(unsigned button) {
        if (!buttonsRead) {
            Window root = 0, child = 0;
            int rootX = 0, rootY = 0, x = 0, y = 0;
            unsigned mask = 0;
            ::XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x,
                            &y, &mask);
            buttonMask = mask;
            buttonsRead = true;
        }
        return (buttonMask & (Button1Mask << (button - 1))) != 0;
    }
};

LinuxKeyboard::LinuxKeyboard() : state_(std::make_unique<State>()) {
    Display* display = ::XOpenDisplay(nullptr);
    if (display == nullptr)
        return;
    state_->display = display;

    int event = 0, error = 0, opcode = 0;
    int major = 2, minor = 2;
    if (::XQueryExtension(display, "XInputExtension", &opcode, &event, &error) &&
        ::XIQueryVersion(display, &major, &minor) == Success &&
        // Raw events reach the root window whatever has the focus from 2.1 on.
        (major > 2 || minor >= 1)) {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawButtonPress);
        XIEventMask mask{XIAllMasterDevices, sizeof(bits), bits};
        if (::XISelectEvents(display, DefaultRootWindow(display), &mask, 1) == Success)
            state_->xiOpcode = opcode;
        ::XSync(display, False);
    }
}

LinuxKeyboard::~LinuxKeyboard() {
    if (state_->display != nullptr)
        ::XCloseDisplay(state_->display);
}

std::int16_t LinuxKeyboard::GetAsyncKeyState(std::int32_t virtualKey) {
    State& s = *state_;
    if (s.display == nullptr || virtualKey < 1 || virtualKey > 255)
        return 0;
    s.Look();
    const auto vk = static_cast<std::size_t>(virtualKey);
    std::int16_t result = 0;
    if (s.pressedSince[vk]) {
        result |= kPressedSince;
        s.pressedSince[vk] = false;
    }
    const unsigned button = ButtonOf(virtualKey);
    if (button != 0 ? s.ButtonDown(button) : s.KeyDown(virtualKey))
        result |= kDown;
    return result;
}

} // namespace lumatone
