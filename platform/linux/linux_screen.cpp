#include "platform/linux/linux_screen.h"

#include "platform/linux/linux_session.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumatone {
namespace {

constexpr std::size_t kRampEntries = 256;

// Xlib's default handler ends the process on any error; a RandR object can
// vanish between two calls (a display unplugged), so every call that names
// one is made under a trap that turns the error into a failure.
bool g_xErrorSeen = false;

int NoteXError(Display*, XErrorEvent*) {
    g_xErrorSeen = true;
    return 0;
}

class XErrorTrap {
  public:
    // Every earlier request of this connection was answered under a trap of
    // its own, so the errors seen from here on are this call's.
    explicit XErrorTrap(Display* display) : display_(display) {
        g_xErrorSeen = false;
        previous_ = ::XSetErrorHandler(NoteXError);
    }
    ~XErrorTrap() {
        Settle();
        ::XSetErrorHandler(previous_);
    }
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;
    // True when a request since the trap was set failed.
    bool Failed() {
        Settle();
        return g_xErrorSeen;
    }

  private:
    // A round trip only when a request without a reply is still unanswered.
    void Settle() {
        if (display_ != nullptr &&
            ::XNextRequest(display_) - 1 != ::XLastKnownRequestProcessed(display_))
            ::XSync(display_, False);
    }

    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

template <typename T, void (*Free)(T*)> struct Freer {
    void operator()(T* p) const { Free(p); }
};
using Resources =
    std::unique_ptr<XRRScreenResources, Freer<XRRScreenResources, ::XRRFreeScreenResources>>;
using OutputInfo = std::unique_ptr<XRROutputInfo, Freer<XRROutputInfo, ::XRRFreeOutputInfo>>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, Freer<XRRCrtcInfo, ::XRRFreeCrtcInfo>>;
using CrtcGamma = std::unique_ptr<XRRCrtcGamma, Freer<XRRCrtcGamma, ::XRRFreeGamma>>;

// Refresh rate in hertz, rounded to nearest; 0 for a mode without timings.
std::int32_t RefreshOf(const XRRModeInfo& mode) {
    double lines = mode.vTotal;
    if (mode.modeFlags & RR_DoubleScan)
        lines *= 2;
    if (mode.modeFlags & RR_Interlace)
        lines /= 2;
    if (mode.hTotal == 0 || lines == 0)
        return 0;
    return static_cast<std::int32_t>(
        std::lround(static_cast<double>(mode.dotClock) / (mode.hTotal * lines)));
}

const XRRModeInfo* FindMode(const XRRScreenResources& res, RRMode id) {
    for (int i = 0; i < res.nmode; ++i)
        if (res.modes[i].id == id)
            return &res.modes[i];
    return nullptr;
}

// An output a CRTC drives takes part in the desktop, whatever its last probed
// connection state says: the server does not probe on every query.
struct ActiveOutput {
    RROutput output = 0;
    RRCrtc crtc = 0;
    std::string name;
};

} // namespace

void ResampleRamp(const std::uint16_t* from, std::size_t fromCount, std::uint16_t* to,
                  std::size_t toCount) {
    if (fromCount == 0 || toCount == 0)
        return;
    if (fromCount == 1 || toCount == 1) {
        for (std::size_t i = 0; i < toCount; ++i)
            to[i] = from[0];
        return;
    }
    // Entry i sits at i * (fromCount-1) / (toCount-1) in from; exact integers
    // keep the ends and every shared point of the two grids exact.
    const auto span = static_cast<std::uint64_t>(toCount - 1);
    for (std::size_t i = 0; i < toCount; ++i) {
        const std::uint64_t at = static_cast<std::uint64_t>(i) * (fromCount - 1);
        const std::size_t k = static_cast<std::size_t>(at / span);
        const std::uint64_t part = at % span;
        if (part == 0) {
            to[i] = from[k];
            continue;
        }
        const std::int64_t a = from[k];
        const std::int64_t b = from[k + 1];
        const std::int64_t twice = 2 * (b - a) * static_cast<std::int64_t>(part);
        const auto s = static_cast<std::int64_t>(span);
        // a + (b - a) * part / span, rounded to nearest (halves away from a).
        const std::int64_t step = twice >= 0 ? (twice + s) / (2 * s) : -((-twice + s) / (2 * s));
        to[i] = static_cast<std::uint16_t>(a + step);
    }
}

struct LinuxScreen::State {
    Display* display = nullptr;
    Window root = 0;
    bool randr = false; // 1.2 or later: outputs and CRTCs
    std::int32_t bitsPerPixel = 0;
    std::string unavailable; // the session's reason ramps are not shown

    // The last ramp written to a CRTC, as given and as sent: resampled there
    // and back, a ramp of another size comes back a few steps off.
    struct Written {
        RRCrtc crtc = 0;
        GammaRamp given{};
        std::vector<std::uint16_t> sent; // red, green, blue
    };
    std::vector<Written> written;

    static std::vector<std::uint16_t> Channels(const XRRCrtcGamma& gamma) {
        const auto n = static_cast<std::size_t>(gamma.size);
        std::vector<std::uint16_t> all(gamma.red, gamma.red + n);
        all.insert(all.end(), gamma.green, gamma.green + n);
        all.insert(all.end(), gamma.blue, gamma.blue + n);
        return all;
    }
    Written* WrittenTo(RRCrtc crtc) {
        for (Written& w : written)
            if (w.crtc == crtc)
                return &w;
        return nullptr;
    }

    // The outputs as last looked up, kept until RandR tells of a change to
    // the screen, a CRTC or an output (the primary's move among them): a
    // lookup asks the server once per output, and the gamma check and the
    // shown mode would ask it every 1.5 s.
    bool known = false;
    std::vector<ActiveOutput> active;
    std::size_t whole = 0;
    std::optional<DisplayMode> current;

    void Forget() {
        known = false;
        current.reset();
    }
    // Takes in the notices that have arrived, without waiting for more.
    void TakeNotices() {
        bool any = false;
        while (display != nullptr && ::XPending(display) > 0) {
            XEvent event;
            ::XNextEvent(display, &event);
            any = true;
        }
        if (any)
            Forget();
    }
    const std::vector<ActiveOutput>& Known() {
        TakeNotices();
        if (!known) {
            active = Active(GetResources().get(), whole);
            known = true;
        }
        return active;
    }

    // None without RandR 1.2.
    Resources GetResources() const {
        return Resources(randr ? ::XRRGetScreenResourcesCurrent(display, root) : nullptr);
    }

    // The active outputs in the server's order, and at whole the index of
    // the whole screen's: RandR's primary when it is active, else the first.
    std::vector<ActiveOutput> Active(XRRScreenResources* res, std::size_t& whole) const {
        std::vector<ActiveOutput> active;
        whole = 0;
        if (res == nullptr)
            return active;
        const RROutput primary = ::XRRGetOutputPrimary(display, root);
        for (int i = 0; i < res->noutput; ++i) {
            OutputInfo info(::XRRGetOutputInfo(display, res, res->outputs[i]));
            if (!info || info->crtc == 0)
                continue;
            if (res->outputs[i] == primary)
                whole = active.size();
            active.push_back({res->outputs[i], info->crtc,
                              std::string(info->name, static_cast<std::size_t>(info->nameLen))});
        }
        return active;
    }

    // The CRTC that shows a display; the whole screen's for an empty name. A
    // name not among the known outputs is looked up afresh.
    RRCrtc CrtcOf(const std::string& name) {
        for (int pass = 0; pass < 2; ++pass) {
            const bool fresh = !known;
            const std::vector<ActiveOutput>& outputs = Known();
            for (std::size_t i = 0; i < outputs.size(); ++i)
                if (name.empty() ? i == whole : outputs[i].name == name)
                    return outputs[i].crtc;
            if (fresh)
                break;
            Forget();
        }
        return 0;
    }

    DisplayMode Describe(const XRRModeInfo& mode, Rotation rotation) const {
        const bool sideways = (rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
        return DisplayMode{static_cast<std::int32_t>(sideways ? mode.height : mode.width),
                           static_cast<std::int32_t>(sideways ? mode.width : mode.height),
                           bitsPerPixel, RefreshOf(mode)};
    }

    // The whole screen's output as the mode calls see it; empty members when
    // there is none or it went away meanwhile.
    struct Primary {
        Resources res;
        RRCrtc crtc = 0;
        CrtcInfo crtcInfo;
        OutputInfo output;
        const XRRModeInfo* mode = nullptr;
        explicit operator bool() const { return crtcInfo && output && mode != nullptr; }
    };
    Primary GetPrimary() const {
        Primary p;
        p.res = GetResources();
        std::size_t whole = 0;
        const std::vector<ActiveOutput> active = Active(p.res.get(), whole);
        if (active.empty())
            return p;
        p.crtc = active[whole].crtc;
        p.crtcInfo.reset(::XRRGetCrtcInfo(display, p.res.get(), p.crtc));
        p.output.reset(::XRRGetOutputInfo(display, p.res.get(), active[whole].output));
        if (p.crtcInfo)
            p.mode = FindMode(*p.res, p.crtcInfo->mode);
        return p;
    }
};

LinuxScreen::LinuxScreen() : state_(std::make_unique<State>()) {
    state_->unavailable = GammaNoteFor(CurrentSession());
    Display* display = ::XOpenDisplay(nullptr);
    if (display == nullptr)
        return;
    State& s = *state_;
    s.display = display;
    s.root = DefaultRootWindow(display);
    int event = 0, error = 0, major = 0, minor = 0;
    s.randr = ::XRRQueryExtension(display, &event, &error) &&
              ::XRRQueryVersion(display, &major, &minor) &&
              (major > 1 || (major == 1 && minor >= 2));
    if (s.randr)
        ::XRRSelectInput(display, s.root,
                         RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask |
                             RROutputChangeNotifyMask);
    // Bits per pixel, not the depth: a 24-bit picture takes 32 bits.
    const int depth = DefaultDepth(display, DefaultScreen(display));
    int count = 0;
    if (XPixmapFormatValues* formats = ::XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == depth)
                s.bitsPerPixel = formats[i].bits_per_pixel;
        ::XFree(formats);
    }
}

LinuxScreen::~LinuxScreen() {
    if (state_->display != nullptr)
        ::XCloseDisplay(state_->display);
}

std::vector<DisplayDevice> LinuxScreen::Displays() {
    State& s = *state_;
    std::vector<DisplayDevice> devices;
    XErrorTrap trap(s.display);
    const std::vector<ActiveOutput>& active = s.Known();
    std::vector<RRCrtc> shown;
    for (const ActiveOutput& a : active) {
        // Outputs sharing a CRTC mirror one picture; the first stands for all.
        if (std::find(shown.begin(), shown.end(), a.crtc) != shown.end())
            continue;
        shown.push_back(a.crtc);
        devices.push_back({a.name, a.crtc == active[s.whole].crtc});
    }
    if (trap.Failed())
        s.Forget();
    return devices;
}

std::string LinuxScreen::Unavailable() const {
    return state_->unavailable;
}

bool LinuxScreen::WriteRamp(const std::string& display, const GammaRamp& ramp) {
    State& s = *state_;
    XErrorTrap trap(s.display);
    const RRCrtc crtc = s.CrtcOf(display);
    if (crtc == 0)
        return false;
    const int size = ::XRRGetCrtcGammaSize(s.display, crtc);
    if (size <= 0 || trap.Failed()) {
        s.Forget();
        return false;
    }
    CrtcGamma gamma(::XRRAllocGamma(size));
    if (!gamma)
        return false;
    const auto n = static_cast<std::size_t>(size);
    ResampleRamp(&ramp[0], kRampEntries, gamma->red, n);
    ResampleRamp(&ramp[kRampEntries], kRampEntries, gamma->green, n);
    ResampleRamp(&ramp[2 * kRampEntries], kRampEntries, gamma->blue, n);
    ::XRRSetCrtcGamma(s.display, crtc, gamma.get());
    if (trap.Failed()) {
        s.Forget();
        return false;
    }
    State::Written* w = s.WrittenTo(crtc);
    if (w == nullptr)
        w = &s.written.emplace_back();
    *w = {crtc, ramp, State::Channels(*gamma)};
    return true;
}

bool LinuxScreen::ReadRamp(const std::string& display, GammaRamp& ramp) {
    State& s = *state_;
    XErrorTrap trap(s.display);
    const RRCrtc crtc = s.CrtcOf(display);
    if (crtc == 0)
        return false;
    CrtcGamma gamma(::XRRGetCrtcGamma(s.display, crtc));
    if (!gamma || gamma->size <= 0 || trap.Failed()) {
        s.Forget();
        return false;
    }
    if (const State::Written* w = s.WrittenTo(crtc);
        w != nullptr && w->sent == State::Channels(*gamma)) {
        ramp = w->given;
        return true;
    }
    const auto n = static_cast<std::size_t>(gamma->size);
    ResampleRamp(gamma->red, n, &ramp[0], kRampEntries);
    ResampleRamp(gamma->green, n, &ramp[kRampEntries], kRampEntries);
    ResampleRamp(gamma->blue, n, &ramp[2 * kRampEntries], kRampEntries);
    return true;
}

DisplayMode LinuxScreen::Current() {
    State& s = *state_;
    XErrorTrap trap(s.display);
    s.TakeNotices();
    if (s.current)
        return *s.current;
    const State::Primary p = s.GetPrimary();
    if (!p || trap.Failed())
        return DisplayMode{};
    s.current = s.Describe(*p.mode, p.crtcInfo->rotation);
    return *s.current;
}

std::vector<DisplayMode> LinuxScreen::Modes() {
    State& s = *state_;
    std::vector<DisplayMode> modes;
    XErrorTrap trap(s.display);
    const State::Primary p = s.GetPrimary();
    if (!p)
        return modes;
    for (int i = 0; i < p.output->nmode; ++i)
        if (const XRRModeInfo* m = FindMode(*p.res, p.output->modes[i]))
            modes.push_back(s.Describe(*m, p.crtcInfo->rotation));
    return modes;
}

RateChange LinuxScreen::TryRate(std::int32_t hz) {
    State& s = *state_;
    XErrorTrap trap(s.display);
    const State::Primary p = s.GetPrimary();
    if (!p)
        return RateChange::Refused;
    const XRRCrtcInfo& crtc = *p.crtcInfo;
    const DisplayMode now = s.Describe(*p.mode, crtc.rotation);
    const auto fits = [&](const XRRModeInfo& m) {
        const DisplayMode d = s.Describe(m, crtc.rotation);
        return d.width == now.width && d.height == now.height && d.refreshRate == hz;
    };
    // The current mode when it fits (two modes may round to one rate), else the
    // output's first that does: its list starts with the preferred modes.
    const XRRModeInfo* chosen = fits(*p.mode) ? p.mode : nullptr;
    for (int i = 0; chosen == nullptr && i < p.output->nmode; ++i) {
        const XRRModeInfo* m = FindMode(*p.res, p.output->modes[i]);
        if (m != nullptr && fits(*m))
            chosen = m;
    }
    if (chosen == nullptr)
        return RateChange::Refused;
    if (chosen == p.mode)
        return RateChange::Changed;
    // The same size, so the screen around the CRTCs keeps its size too.
    s.Forget();
    const Status status =
        ::XRRSetCrtcConfig(s.display, p.res.get(), p.crtc, CurrentTime, crtc.x, crtc.y, chosen->id,
                           crtc.rotation, crtc.outputs, crtc.noutput);
    return status == RRSetConfigSuccess && !trap.Failed() ? RateChange::Changed
                                                          : RateChange::Refused;
}

} // namespace lumatone
