#include "platform/linux/linux_keyboard.h"

#include "platform/linux/key_tracker.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/scrnsaver.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>

namespace lumatone {
namespace {

// The poll asks about all its keys within microseconds, every 50 ms: one
// check of the kept state's age serves every query this close to the first.
constexpr std::int64_t kBurstNs = 10'000'000;
// With every key up, the reader's events alone keep the state: each check
// wakes the X server, which costs it more than several of this program's
// idle ticks cost the program.
constexpr std::int64_t kUpCheckNs = 10'000'000'000;

std::int64_t NowNs() {
    return std::chrono::steady_clock::now().time_since_epoch() / std::chrono::nanoseconds(1);
}

} // namespace

// Two connections, one per thread: the poll's queries go out on the caller's,
// and a thread of its own sleeps on the other until the server sends an
// event, so an idle poll reads no socket at all.
struct LinuxKeyboard::State : KeyTracker::Server {
    explicit State(bool followsEvents) : tracker(followsEvents, kUpCheckNs) {}

    Display* display = nullptr; // the queries, on the caller's thread
    Display* events = nullptr;  // the events, on the reader's thread once it runs
    int xiOpcode = -1;          // -1: no raw events
    int saverEvent = -1;        // the screen saver's notify event, -1 for none
    int stop = -1;              // an eventfd that ends the reader
    std::thread reader;

    std::mutex mutex; // the tracker, between the reader and the queries
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
        if (!::XGetEventData(events, &cookie)) {
            const std::lock_guard lock(mutex);
            tracker.Lost();
            return;
        }
        const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
        {
            const std::lock_guard lock(mutex);
            switch (cookie.evtype) {
            case XI_RawKeyPress:
            case XI_RawKeyRelease:
                if (raw->detail >= 0 && raw->detail < 256)
                    tracker.Key(static_cast<std::uint8_t>(raw->detail),
                                cookie.evtype == XI_RawKeyPress);
                break;
            case XI_RawButtonPress:
            case XI_RawButtonRelease:
                tracker.Button(static_cast<unsigned>(raw->detail),
                               cookie.evtype == XI_RawButtonPress);
                break;
            default:
                // A keyboard or mouse that went away takes its releases with it.
                tracker.Lost();
                break;
            }
        }
        ::XFreeEventData(events, &cookie);
    }

    // Takes in whatever events have arrived, without waiting for more.
    void Drain() {
        while (::XPending(events) > 0) {
            XEvent event;
            ::XNextEvent(events, &event);
            if (event.type == GenericEvent && event.xcookie.extension == xiOpcode) {
                Take(event.xcookie);
            } else if (saverEvent >= 0 && event.type == saverEvent) {
                const std::lock_guard lock(mutex);
                tracker.ScreenSaver(reinterpret_cast<XScreenSaverNotifyEvent&>(event).state ==
                                    ScreenSaverOn);
            }
        }
    }

    // The reader: asleep until the server sends something or the keyboard
    // goes away.
    void Read() {
        std::array<pollfd, 2> fds{{{ConnectionNumber(events), POLLIN, 0}, {stop, POLLIN, 0}}};
        for (;;) {
            // Xlib may already hold events read along with earlier ones.
            Drain();
            int ready = 0;
            do
                ready = ::poll(fds.data(), fds.size(), -1);
            while (ready < 0 && errno == EINTR);
            if (ready > 0 && fds[1].revents != 0)
                return;
            // A server gone is the queries' to find, on the caller's thread,
            // where Xlib ends the program: reading here would end it from
            // this one. Without events, every look asks the server.
            if (ready < 0 || fds[0].revents != POLLIN)
                break;
        }
        const std::lock_guard lock(mutex);
        tracker = KeyTracker(false);
    }

    void Start() {
        stop = ::eventfd(0, EFD_CLOEXEC);
        if (stop < 0)
            return;
        // Signals stay with the caller's thread, which handles them.
        sigset_t all, old;
        sigfillset(&all);
        ::pthread_sigmask(SIG_BLOCK, &all, &old);
        try {
            reader = std::thread([this] { Read(); });
        } catch (const std::system_error&) {
        }
        ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    }

    void Look() {
        const std::int64_t now = NowNs();
        if (lookedAt >= 0 && now - lookedAt <= kBurstNs)
            return;
        lookedAt = now;
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
    Display* events = display != nullptr ? ::XOpenDisplay(nullptr) : nullptr;
    const int xiOpcode = events != nullptr ? SelectRawEvents(events) : -1;
    state_ = std::make_unique<State>(xiOpcode >= 0);
    State& s = *state_;
    s.display = display;
    s.events = events;
    s.xiOpcode = xiOpcode;
    if (events == nullptr)
        return;

    int saverEvent = 0, saverError = 0;
    if (::XScreenSaverQueryExtension(events, &saverEvent, &saverError)) {
        ::XScreenSaverSelectInput(events, DefaultRootWindow(events), ScreenSaverNotifyMask);
        s.saverEvent = saverEvent + ScreenSaverNotify;
        if (XScreenSaverInfo* info = ::XScreenSaverAllocInfo()) {
            if (::XScreenSaverQueryInfo(events, DefaultRootWindow(events), info))
                s.tracker.ScreenSaver(info->state == ScreenSaverOn);
            ::XFree(info);
        }
    }
    s.Start();
    // Without the reader nothing says when the keys change: every look asks.
    if (!s.reader.joinable())
        s.tracker = KeyTracker(false);
}

LinuxKeyboard::~LinuxKeyboard() {
    State& s = *state_;
    if (s.reader.joinable()) {
        ::eventfd_write(s.stop, 1);
        s.reader.join();
    }
    if (s.stop >= 0)
        ::close(s.stop);
    if (s.events != nullptr)
        ::XCloseDisplay(s.events);
    if (s.display != nullptr)
        ::XCloseDisplay(s.display);
}

std::int16_t LinuxKeyboard::GetAsyncKeyState(std::int32_t virtualKey) {
    State& s = *state_;
    if (s.display == nullptr || virtualKey < 1 || virtualKey > 255)
        return 0;
    const std::lock_guard lock(s.mutex);
    s.Look();
    return s.tracker.State(virtualKey, s);
}

} // namespace lumatone
