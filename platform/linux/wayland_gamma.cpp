#include "platform/linux/wayland_gamma.h"

#include "platform/linux/linux_screen.h"
#include "platform/linux/linux_session.h"

#include <wayland-client.h>
#include <wlr-gamma-control-unstable-v1-client.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <list>
#include <optional>

namespace lumatone {
namespace {

constexpr std::size_t kRampEntries = 256;
// A compositor that has not answered by then is taken for a hung one: the
// calls run on the interface's thread. At the start, longer: a session just
// logged in keeps its compositor busy.
constexpr int kAnswerMs = 1000;
constexpr int kFirstAnswerMs = 5000;

// The red, green and blue ramps of size entries each, in a sealed memory
// file: the compositor reads the table, and nobody can change it under it.
int RampFile(const GammaRamp& ramp, std::size_t size) {
    std::vector<std::uint16_t> table(3 * size);
    for (std::size_t c = 0; c < 3; ++c)
        ResampleRamp(&ramp[c * kRampEntries], kRampEntries, &table[c * size], size);
    const int fd = ::memfd_create("lumatone-gamma", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    const auto bytes = static_cast<ssize_t>(table.size() * sizeof(std::uint16_t));
    if (::pwrite(fd, table.data(), static_cast<std::size_t>(bytes), 0) != bytes ||
        ::fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

struct WaylandGamma::State {
    struct Output {
        std::uint32_t global = 0;
        wl_output* output = nullptr;
        std::string name; // empty until the compositor tells it
        zwlr_gamma_control_v1* control = nullptr;
        std::uint32_t size = 0;
        bool failed = false;           // the compositor refused the control, or took it back
        std::optional<GammaRamp> held; // written, and the control still stands
        bool lost = false;             // it held a ramp, then the control failed

        void DropControl() {
            if (control != nullptr)
                zwlr_gamma_control_v1_destroy(control);
            control = nullptr;
            size = 0;
            failed = false;
        }
    };

    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    zwlr_gamma_control_manager_v1* manager = nullptr;
    std::uint32_t managerGlobal = 0;
    std::list<Output> outputs; // listeners keep pointers to them

    ~State() {
        for (Output& o : outputs)
            Forget(o);
        if (manager != nullptr)
            zwlr_gamma_control_manager_v1_destroy(manager);
        if (registry != nullptr)
            wl_registry_destroy(registry);
        if (display != nullptr)
            wl_display_disconnect(display);
    }

    bool Connected() const { return display != nullptr && wl_display_get_error(display) == 0; }

    static void Forget(Output& o) {
        o.DropControl();
        if (o.output != nullptr) {
            if (wl_output_get_version(o.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
                wl_output_release(o.output);
            else
                wl_output_destroy(o.output);
        }
        o.output = nullptr;
    }

    // Readies the connection for reading, the events already read handled
    // first; false once the connection has failed (its events then stay queued).
    bool PrepareRead() {
        while (wl_display_prepare_read(display) != 0)
            if (wl_display_dispatch_pending(display) < 0)
                return false;
        return true;
    }

    // The events that have come, without waiting for any.
    void Dispatch() {
        if (!Connected() || !PrepareRead())
            return;
        wl_display_flush(display);
        pollfd p{wl_display_get_fd(display), POLLIN, 0};
        if (::poll(&p, 1, 0) > 0)
            wl_display_read_events(display);
        else
            wl_display_cancel_read(display);
        wl_display_dispatch_pending(display);
    }

    // Waits until the compositor has answered every request sent so far, at
    // most that long; false when it did not.
    bool Settle(int ms = kAnswerMs) {
        if (!Connected())
            return false;
        bool done = false;
        static const wl_callback_listener listener = {
            [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
        wl_callback* callback = wl_display_sync(display);
        wl_callback_add_listener(callback, &listener, &done);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done && Connected() && PrepareRead()) {
            wl_display_flush(display);
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{wl_display_get_fd(display), POLLIN, 0};
            const int ready = left.count() > 0 ? ::poll(&p, 1, static_cast<int>(left.count())) : 0;
            if (ready <= 0) {
                wl_display_cancel_read(display);
                if (ready < 0 && errno == EINTR)
                    continue;
                break;
            }
            wl_display_read_events(display);
            wl_display_dispatch_pending(display);
        }
        wl_callback_destroy(callback);
        return done;
    }

    // Takes in outputs plugged in or out since, with their names.
    void Refresh() {
        Dispatch();
        if (std::any_of(outputs.begin(), outputs.end(),
                        [](const Output& o) { return o.name.empty(); }))
            Settle();
    }

    Output* Find(const std::string& name) {
        for (Output& o : outputs)
            if (!o.name.empty() && (name.empty() || o.name == name))
                return &o;
        return nullptr;
    }

    static const wl_registry_listener kRegistry;
    static const wl_output_listener kOutput;
    static const zwlr_gamma_control_v1_listener kControl;
};

const wl_registry_listener WaylandGamma::State::kRegistry = {
    [](void* data, wl_registry* registry, std::uint32_t global, const char* interface,
       std::uint32_t version) {
        State& s = *static_cast<State*>(data);
        if (std::strcmp(interface, zwlr_gamma_control_manager_v1_interface.name) == 0 &&
            s.manager == nullptr) {
            s.manager = static_cast<zwlr_gamma_control_manager_v1*>(
                wl_registry_bind(registry, global, &zwlr_gamma_control_manager_v1_interface, 1));
            s.managerGlobal = global;
        } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
            Output& o = s.outputs.emplace_back();
            o.global = global;
            // Version 4 tells the output's name, as the compositor's own
            // configuration and tools call it.
            o.output = static_cast<wl_output*>(wl_registry_bind(
                registry, global, &wl_output_interface, std::min<std::uint32_t>(version, 4)));
            wl_output_add_listener(o.output, &kOutput, &o);
            if (version < 4)
                o.name = "output " + std::to_string(global);
        }
    },
    [](void* data, wl_registry*, std::uint32_t global) {
        State& s = *static_cast<State*>(data);
        if (global == s.managerGlobal && s.manager != nullptr) {
            zwlr_gamma_control_manager_v1_destroy(s.manager);
            s.manager = nullptr;
        }
        for (auto it = s.outputs.begin(); it != s.outputs.end(); ++it)
            if (it->global == global) {
                Forget(*it);
                s.outputs.erase(it);
                break;
            }
    },
};

const wl_output_listener WaylandGamma::State::kOutput = {
    [](void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
       const char*, const char*, std::int32_t) {},
    [](void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {},
    [](void*, wl_output*) {},
    [](void*, wl_output*, std::int32_t) {},
    [](void* data, wl_output*, const char* name) { static_cast<Output*>(data)->name = name; },
    [](void*, wl_output*, const char*) {},
};

const zwlr_gamma_control_v1_listener WaylandGamma::State::kControl = {
    [](void* data, zwlr_gamma_control_v1*, std::uint32_t size) {
        static_cast<Output*>(data)->size = size;
    },
    [](void* data, zwlr_gamma_control_v1*) {
        Output& o = *static_cast<Output*>(data);
        o.failed = true;
        if (o.held)
            o.lost = true;
        o.held.reset();
    },
};

WaylandGamma::WaylandGamma()
    : WaylandGamma(CurrentSession().wayland ? [] {
          const char* socket = std::getenv("WAYLAND_DISPLAY");
          return std::string(socket != nullptr && socket[0] != '\0' ? socket : "wayland-0");
      }()
                                            : std::string()) {}

WaylandGamma::WaylandGamma(const std::string& socket) : state_(std::make_unique<State>()) {
    if (socket.empty())
        return;
    State& s = *state_;
    s.display = wl_display_connect(socket.c_str());
    if (s.display == nullptr)
        return;
    s.registry = wl_display_get_registry(s.display);
    wl_registry_add_listener(s.registry, &State::kRegistry, &s);
    // The globals, then the outputs' names.
    if (s.Settle(kFirstAnswerMs))
        s.Settle();
}

WaylandGamma::~WaylandGamma() = default;

bool WaylandGamma::Offered() const {
    return state_->Connected() && state_->manager != nullptr;
}

std::vector<DisplayDevice> WaylandGamma::Displays() {
    State& s = *state_;
    std::vector<DisplayDevice> devices;
    s.Refresh();
    if (!s.Connected())
        return devices;
    for (const State::Output& o : s.outputs)
        if (!o.name.empty())
            devices.push_back({o.name, devices.empty()});
    return devices;
}

bool WaylandGamma::WriteRamp(const std::string& display, const GammaRamp& ramp) {
    State& s = *state_;
    s.Refresh();
    State::Output* o = s.Find(display);
    if (o == nullptr || s.manager == nullptr || !s.Connected())
        return false;
    o->lost = false;
    if (o->control == nullptr || o->failed) {
        o->DropControl();
        o->control = zwlr_gamma_control_manager_v1_get_gamma_control(s.manager, o->output);
        zwlr_gamma_control_v1_add_listener(o->control, &State::kControl, o);
        // The size, or the refusal, is sent at once.
        if (!s.Settle() || o->failed || o->size == 0) {
            o->DropControl();
            return false;
        }
    }
    const int fd = RampFile(ramp, o->size);
    if (fd < 0)
        return false;
    zwlr_gamma_control_v1_set_gamma(o->control, fd);
    ::close(fd); // the request holds a copy of its own
    // A table the output cannot take fails the control.
    if (!s.Settle() || o->failed) {
        o->DropControl();
        o->held.reset();
        o->lost = false;
        return false;
    }
    o->held = ramp;
    return true;
}

bool WaylandGamma::ReadRamp(const std::string& display, GammaRamp& ramp) {
    State& s = *state_;
    s.Dispatch();
    const State::Output* o = s.Find(display);
    if (o == nullptr || !s.Connected())
        return false;
    if (o->held) {
        ramp = *o->held;
        return true;
    }
    if (o->lost) {
        ramp = IdentityRamp();
        return true;
    }
    return false;
}

std::string WaylandGamma::RefusedNote() const {
    return "The desktop refused the gamma ramp";
}

GammaOutput& SessionGamma(WaylandGamma& wayland, GammaOutput& x11) {
    if (wayland.Offered())
        return wayland;
    return x11;
}

} // namespace lumatone
