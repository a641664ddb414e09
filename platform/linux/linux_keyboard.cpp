#include "platform/linux/linux_keyboard.h"

#include "platform/linux/key_tracker.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/scrnsaver.h>

#include <array>
#include <chrono>
#include <cstdint>

namespace lumatone {
namespace {

// The poll asks about all its keys within microseconds, every 50 ms. One look
// at the events that arrived serves every query this close to the first: each
// look costs a system call, and anything that changes meanwhile shows at the
// next look, with its press kept.
constexpr std::int64_t kBurstNs = 10'000'000;

std::int64_t NowNs() {
    return std::chrono::steady_clock::now().time_since_epoch() / std::chrono::nanoseconds(1);
}

} // namespace

struct LinuxKeyboard::State : KeyTracker::Server {
    explicit State(bool followsEvents) : tracker(followsEvents) {}

    Display* display = nullptr;
    int xiOpcode = -1;   // -1: no raw events
    int saverEvent = -1; // the screen saver's notify event, -1 for none
    KeyTracker tracker;
    std::int64_t lookedAt = -1;

    void ReadKeymap(std::array<std::uint8_t, 32>& keymap) override {
        char bits[32] = {};
        ::XQueryKeymap(display, bits);
        for (std::size_t i = 0; i < keymap.size(); ++i)
            keymap[i] = static_cast<std::uint8_t>(bits[i]);
    }

    unsigned ReadButtons() override {
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned mask = 0;
        ::XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y,
                        &mask);
        return mask;
    }

    void Take(XGenericEventCookie& cookie) {
        // Data that cannot be read leaves the key unknown: look at the server.
        if (!::XGetEventData(display, &cookie)) {
            tracker.Lost();
            return;
        }
        const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
        switch (cookie.evtype) {
        case XI_RawKeyPress:
        case XI_RawKeyRelease:
            if (raw->detail >= 0 && raw->detail < 256)
                tracker.Key(static_cast<std::uint8_t>(raw->detail),
                            cookie.evtype == XI_RawKeyPress);
            break;
        case XI_RawButtonPress:
        case XI_RawButtonRelease:
            tracker.Button(static_cast<unsigned>(raw->detail), cookie.evtype == XI_RawButtonPress);
            break;
        default:
            // A keyboard or mouse that went away takes its releases with it.
            tracker.Lost();
            break;
        }
        ::XFreeEventData(display, &cookie);
    }

    // Takes in whatever events have arrived, without waiting for more.
    void Drain() {
        while (::XPending(display) > 0) {
            XEvent event;
            ::XNextEvent(display, &event);
            if (event.type == GenericEvent && event.xcookie.extension == xiOpcode)
                Take(event.xcookie);
            else if (saverEvent >= 0 && event.type == saverEvent)
                tracker.ScreenSaver(reinterpret_cast<XScreenSaverNotifyEvent&>(event).state ==
                                    ScreenSaverOn);
        }
    }

    void Look() {
        const std::int64_t now = NowNs();
        if (lookedAt >= 0 && now - lookedAt <= kBurstNs)
            return;
        lookedAt = now;
        Drain();
        tracker.Look(now);
    }
};

namespace {

// Raw events reach the root window whatever has the focus, and whatever grabs
// the keyboard, from XInput 2.1 on. The opcode, or -1 without them.
int SelectRawEvents(Display* display) {
    int event = 0, error = 0, opcode = 0;
    int major = 2, minor = 2;
    if (!::XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        ::XIQueryVersion(display, &major, &minor) != Success || (major == 2 && minor < 1))
        return -1;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    for (int type : {XI_RawKeyPress, XI_RawKeyRelease, XI_RawButtonPress, XI_RawButtonRelease})
        XISetMask(bits, type);
    XIEventMask mask{XIAllMasterDevices, sizeof(bits), bits};
    const bool selected =
        ::XISelectEvents(display, DefaultRootWindow(display), &mask, 1) == Success;
    // Devices come and go on the all-devices mask only.
    unsigned char hierarchy[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(hierarchy, XI_HierarchyChanged);
    XIEventMask devices{XIAllDevices, sizeof(hierarchy), hierarchy};
    ::XISelectEvents(display, DefaultRootWindow(display), &devices, 1);
    ::XSync(display, False);
    return selected ? opcode : -1;
}

} // namespace

LinuxKeyboard::LinuxKeyboard() {
    Display* display = ::XOpenDisplay(nullptr);
    if (display == nullptr) {
        state_ = std::make_unique<State>(false);
        return;
    }
    const int xiOpcode = SelectRawEvents(display);
    state_ = std::make_unique<State>(xiOpcode >= 0);
    state_->display = display;
    state_->xiOpcode = xiOpcode;

    int saverEvent = 0, saverError = 0;
    if (::XScreenSaverQueryExtension(display, &saverEvent, &saverError)) {
        ::XScreenSaverSelectInput(display, DefaultRootWindow(display), ScreenSaverNotifyMask);
        state_->saverEvent = saverEvent + ScreenSaverNotify;
        if (XScreenSaverInfo* info = ::XScreenSaverAllocInfo()) {
            if (::XScreenSaverQueryInfo(display, DefaultRootWindow(display), info))
                state_->tracker.ScreenSaver(info->state == ScreenSaverOn);
            ::XFree(info);
        }
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
    return s.tracker.State(virtualKey, s);
}

} // namespace lumatone
