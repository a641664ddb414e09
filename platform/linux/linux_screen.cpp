#include "platform/linux/linux_screen.h"

#include "platform/linux/gamma_resample.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>

namespace lumatone {
namespace {

constexpr std::size_t kRampEntries = 256;
constexpr std::uint16_t kDmSpecVersion = 0x0401;
constexpr std::uint32_t kDmInterlaced = 2;

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
    // Waits for the answers still owed, if any: a round trip only when a
    // request without a reply was sent since the last.
    void Settle() {
        if (::XNextRequest(display_) - 1 != ::XLastKnownRequestProcessed(display_))
            ::XSync(display_, False);
    }

    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

struct FreeResources {
    void operator()(XRRScreenResources* p) const { ::XRRFreeScreenResources(p); }
};
struct FreeOutputInfo {
    void operator()(XRROutputInfo* p) const { ::XRRFreeOutputInfo(p); }
};
struct FreeCrtcInfo {
    void operator()(XRRCrtcInfo* p) const { ::XRRFreeCrtcInfo(p); }
};
struct FreeGamma {
    void operator()(XRRCrtcGamma* p) const { ::XRRFreeGamma(p); }
};
using Resources = std::unique_ptr<XRRScreenResources, FreeResources>;
using OutputInfo = std::unique_ptr<XRROutputInfo, FreeOutputInfo>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, FreeCrtcInfo>;
using CrtcGamma = std::unique_ptr<XRRCrtcGamma, FreeGamma>;

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

bool Sideways(Rotation rotation) {
    return (rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
}

template <std::size_t N> void CopyName(char (&to)[N], const char* from) {
    std::memset(to, 0, N);
    std::strncpy(to, from, N - 1);
}

} // namespace

struct LinuxScreen::State {
    Display* display = nullptr;
    Window root = 0;
    bool randr = false; // 1.2 or later: outputs and CRTCs
    std::int32_t bitsPerPixel = 0;
    std::map<DcHandle, RRCrtc> contexts;
    DcHandle nextContext = 1;

    Resources GetResources() const {
        return Resources(::XRRGetScreenResourcesCurrent(display, root));
    }

    // An output takes part in the desktop when a CRTC drives it, whatever its
    // last probed connection state says (the server does not probe on
    // every query). The whole screen's context reaches RandR's primary
    // output, or the first active one.
    RROutput Primary(const XRRScreenResources& res, RRCrtc* crtc = nullptr) const {
        const RROutput primary = ::XRRGetOutputPrimary(display, root);
        RROutput first = 0;
        RRCrtc firstCrtc = 0;
        for (int i = 0; i < res.noutput; ++i) {
            OutputInfo info(
                ::XRRGetOutputInfo(display, const_cast<XRRScreenResources*>(&res), res.outputs[i]));
            if (!info || info->crtc == 0)
                continue;
            if (res.outputs[i] == primary) {
                if (crtc != nullptr)
                    *crtc = info->crtc;
                return primary;
            }
            if (first == 0) {
                first = res.outputs[i];
                firstCrtc = info->crtc;
            }
        }
        if (crtc != nullptr)
            *crtc = firstCrtc;
        return first;
    }

    CrtcInfo GetCrtc(XRRScreenResources& res, RRCrtc crtc) const {
        if (crtc == 0)
            return nullptr;
        return CrtcInfo(::XRRGetCrtcInfo(display, &res, crtc));
    }

    // The primary output as the mode calls see it; empty members when the
    // screen has none or it went away meanwhile.
    struct PrimaryOutput {
        Resources res;
        RRCrtc crtc = 0;
        CrtcInfo crtcInfo;
        OutputInfo output;
        explicit operator bool() const { return crtcInfo && output; }
    };
    PrimaryOutput GetPrimary() const {
        PrimaryOutput p;
        p.res = GetResources();
        if (!p.res)
            return p;
        const RROutput output = Primary(*p.res, &p.crtc);
        p.crtcInfo = GetCrtc(*p.res, p.crtc);
        if (output != 0)
            p.output.reset(::XRRGetOutputInfo(display, p.res.get(), output));
        return p;
    }

    DcHandle NewContext(RRCrtc crtc) {
        if (crtc == 0)
            return 0;
        const DcHandle dc = nextContext++;
        contexts.emplace(dc, crtc);
        return dc;
    }

    RRCrtc CrtcOf(DcHandle dc) const {
        const auto it = contexts.find(dc);
        return it == contexts.end() ? 0 : it->second;
    }

    // A mode of an output as the record gives it, sideways when the CRTC is turned.
    void Describe(const XRRModeInfo& mode, Rotation rotation, const char* deviceName,
                  DevModeA& out) const {
        out = DevModeA{};
        CopyName(out.dmDeviceName, deviceName);
        out.dmSpecVersion = kDmSpecVersion;
        out.dmSize = sizeof(DevModeA);
        out.dmFields = kDmBitsPerPel | kDmPelsWidth | kDmPelsHeight | kDmDisplayFrequency;
        out.dmBitsPerPel = static_cast<std::uint32_t>(bitsPerPixel);
        out.dmPelsWidth = Sideways(rotation) ? mode.height : mode.width;
        out.dmPelsHeight = Sideways(rotation) ? mode.width : mode.height;
        out.dmDisplayFrequency = static_cast<std::uint32_t>(RefreshOf(mode));
        out.dmDisplayFlags = (mode.modeFlags & RR_Interlace) ? kDmInterlaced : 0;
    }
};

LinuxScreen::LinuxScreen() : state_(std::make_unique<State>()) {
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
    // Bits per pixel, not the depth: a 24-bit picture takes 32 bits, as Windows counts it.
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

DcHandle LinuxScreen::GetDC(WindowHandle /*window*/) {
    // A window's context reaches the same ramp and modes as the screen's.
    State& s = *state_;
    if (!s.randr)
        return 0;
    XErrorTrap trap(s.display);
    Resources res = s.GetResources();
    if (!res)
        return 0;
    RRCrtc crtc = 0;
    s.Primary(*res, &crtc);
    return s.NewContext(crtc);
}

void LinuxScreen::ReleaseDC(WindowHandle /*window*/, DcHandle dc) {
    state_->contexts.erase(dc);
}

DcHandle LinuxScreen::CreateDisplayDC(const std::string& deviceName) {
    State& s = *state_;
    if (!s.randr || deviceName.empty())
        return 0;
    XErrorTrap trap(s.display);
    Resources res = s.GetResources();
    if (!res)
        return 0;
    for (int i = 0; i < res->noutput; ++i) {
        OutputInfo info(::XRRGetOutputInfo(s.display, res.get(), res->outputs[i]));
        if (info && info->crtc != 0 &&
            deviceName == std::string(info->name, static_cast<std::size_t>(info->nameLen)))
            return s.NewContext(info->crtc);
    }
    return 0;
}

void LinuxScreen::DeleteDC(DcHandle dc) {
    state_->contexts.erase(dc);
}

std::vector<DisplayDevice> LinuxScreen::EnumDisplayDevices() {
    State& s = *state_;
    std::vector<DisplayDevice> devices;
    if (!s.randr)
        return devices;
    XErrorTrap trap(s.display);
    Resources res = s.GetResources();
    if (!res)
        return devices;
    const RROutput primary = s.Primary(*res);
    std::vector<RRCrtc> shown;
    for (int i = 0; i < res->noutput; ++i) {
        OutputInfo info(::XRRGetOutputInfo(s.display, res.get(), res->outputs[i]));
        if (!info || info->crtc == 0)
            continue;
        // Outputs sharing a CRTC mirror one picture; the first stands for all.
        if (std::find(shown.begin(), shown.end(), info->crtc) != shown.end())
            continue;
        shown.push_back(info->crtc);
        devices.push_back({std::string(info->name, static_cast<std::size_t>(info->nameLen)),
                           res->outputs[i] == primary});
    }
    return devices;
}

bool LinuxScreen::SetDeviceGammaRamp(DcHandle dc, const GammaRamp& ramp) {
    State& s = *state_;
    const RRCrtc crtc = s.CrtcOf(dc);
    if (crtc == 0)
        return false;
    XErrorTrap trap(s.display);
    const int size = ::XRRGetCrtcGammaSize(s.display, crtc);
    if (size <= 0 || trap.Failed())
        return false;
    CrtcGamma gamma(::XRRAllocGamma(size));
    if (!gamma)
        return false;
    const auto n = static_cast<std::size_t>(size);
    ResampleRamp(&ramp[0], kRampEntries, gamma->red, n);
    ResampleRamp(&ramp[kRampEntries], kRampEntries, gamma->green, n);
    ResampleRamp(&ramp[2 * kRampEntries], kRampEntries, gamma->blue, n);
    ::XRRSetCrtcGamma(s.display, crtc, gamma.get());
    return !trap.Failed();
}

bool LinuxScreen::GetDeviceGammaRamp(DcHandle dc, GammaRamp& ramp) {
    State& s = *state_;
    const RRCrtc crtc = s.CrtcOf(dc);
    if (crtc == 0)
        return false;
    XErrorTrap trap(s.display);
    CrtcGamma gamma(::XRRGetCrtcGamma(s.display, crtc));
    if (!gamma || gamma->size <= 0 || trap.Failed())
        return false;
    const auto n = static_cast<std::size_t>(gamma->size);
    ResampleRamp(gamma->red, n, &ramp[0], kRampEntries);
    ResampleRamp(gamma->green, n, &ramp[kRampEntries], kRampEntries);
    ResampleRamp(gamma->blue, n, &ramp[2 * kRampEntries], kRampEntries);
    return true;
}

std::int32_t LinuxScreen::GetDeviceCaps(DcHandle dc, int index) {
    State& s = *state_;
    const RRCrtc crtc = s.CrtcOf(dc);
    if (crtc == 0)
        return 0;
    if (index == kBitsPixel)
        return s.bitsPerPixel;
    if (index != kHorzRes && index != kVertRes && index != kVRefresh)
        return 0;
    XErrorTrap trap(s.display);
    Resources res = s.GetResources();
    if (!res)
        return 0;
    CrtcInfo info = s.GetCrtc(*res, crtc);
    if (!info)
        return 0;
    if (index == kHorzRes)
        return static_cast<std::int32_t>(info->width);
    if (index == kVertRes)
        return static_cast<std::int32_t>(info->height);
    const XRRModeInfo* mode = FindMode(*res, info->mode);
    return mode == nullptr ? 0 : RefreshOf(*mode);
}

bool LinuxScreen::EnumDisplaySettings(std::int32_t modeNumber, DevModeA& mode) {
    State& s = *state_;
    constexpr std::int32_t kEnumCurrentSettings = -1;
    if (!s.randr || (modeNumber < 0 && modeNumber != kEnumCurrentSettings &&
                     modeNumber != kEnumRegistrySettings))
        return false;
    XErrorTrap trap(s.display);
    const State::PrimaryOutput primary = s.GetPrimary();
    if (!primary)
        return false;
    const XRRScreenResources& res = *primary.res;
    const XRRCrtcInfo& info = *primary.crtcInfo;
    const XRROutputInfo& outputInfo = *primary.output;
    RRMode id = info.mode;
    if (modeNumber >= 0) {
        if (modeNumber >= outputInfo.nmode)
            return false;
        id = outputInfo.modes[modeNumber];
    }
    const XRRModeInfo* found = FindMode(res, id);
    if (found == nullptr)
        return false;
    s.Describe(*found, info.rotation, outputInfo.name, mode);
    mode.dmPositionX = info.x;
    mode.dmPositionY = info.y;
    return true;
}

std::int32_t LinuxScreen::ChangeDisplaySettings(const DevModeA& mode, std::uint32_t flags) {
    State& s = *state_;
    if (!s.randr)
        return kDispChangeFailed;
    XErrorTrap trap(s.display);
    const State::PrimaryOutput primary = s.GetPrimary();
    const XRRModeInfo* current = primary ? FindMode(*primary.res, primary.crtcInfo->mode) : nullptr;
    if (current == nullptr)
        return kDispChangeFailed;
    XRRScreenResources* const res = primary.res.get();
    const RRCrtc crtc = primary.crtc;
    const XRRCrtcInfo* const info = primary.crtcInfo.get();
    const XRROutputInfo* const outputInfo = primary.output.get();

    // Fields the record does not flag keep the current mode's values.
    DevModeA now;
    s.Describe(*current, info->rotation, "", now);
    const auto wanted = [&](std::uint32_t field, std::uint32_t asked, std::uint32_t have) {
        return (mode.dmFields & field) != 0 ? asked : have;
    };
    const std::uint32_t width = wanted(kDmPelsWidth, mode.dmPelsWidth, now.dmPelsWidth);
    const std::uint32_t height = wanted(kDmPelsHeight, mode.dmPelsHeight, now.dmPelsHeight);
    const std::uint32_t rate =
        wanted(kDmDisplayFrequency, mode.dmDisplayFrequency, now.dmDisplayFrequency);
    if (wanted(kDmBitsPerPel, mode.dmBitsPerPel, now.dmBitsPerPel) != now.dmBitsPerPel)
        return kDispChangeBadMode;

    const auto fits = [&](const XRRModeInfo& m) {
        DevModeA d;
        s.Describe(m, info->rotation, "", d);
        return d.dmPelsWidth == width && d.dmPelsHeight == height && d.dmDisplayFrequency == rate;
    };
    // The current mode when it fits (two modes may round to one rate), else the
    // output's first that does: its list starts with the preferred modes.
    const XRRModeInfo* chosen = fits(*current) ? current : nullptr;
    for (int i = 0; chosen == nullptr && i < outputInfo->nmode; ++i) {
        const XRRModeInfo* m = FindMode(*res, outputInfo->modes[i]);
        if (m != nullptr && fits(*m))
            chosen = m;
    }
    if (chosen == nullptr)
        return kDispChangeBadMode;
    if ((flags & kCdsTest) != 0 || chosen == current)
        return kDispChangeSuccessful;

    // The screen is the box around every active CRTC: it grows before a larger
    // mode is set and shrinks after a smaller one, as xrandr does it.
    DevModeA next;
    s.Describe(*chosen, info->rotation, "", next);
    int boxWidth = 0, boxHeight = 0;
    for (int i = 0; i < res->ncrtc; ++i) {
        const bool changed = res->crtcs[i] == crtc;
        CrtcInfo other = changed ? nullptr : s.GetCrtc(*res, res->crtcs[i]);
        if (!changed && (!other || other->mode == 0))
            continue;
        const XRRCrtcInfo& c = changed ? *info : *other;
        boxWidth = std::max(boxWidth, c.x + static_cast<int>(changed ? next.dmPelsWidth : c.width));
        boxHeight =
            std::max(boxHeight, c.y + static_cast<int>(changed ? next.dmPelsHeight : c.height));
    }
    // Xlib's own idea of the screen's size lags behind changes; the root
    // window's is current.
    Window root = 0;
    int x = 0, y = 0;
    unsigned rootWidth = 0, rootHeight = 0, border = 0, depth = 0;
    if (!::XGetGeometry(s.display, s.root, &root, &x, &y, &rootWidth, &rootHeight, &border, &depth))
        return kDispChangeFailed;
    const int oldWidth = static_cast<int>(rootWidth), oldHeight = static_cast<int>(rootHeight);
    const int screen = DefaultScreen(s.display);
    // The same dots per millimetre as the server started with.
    const double mmPerDotX = static_cast<double>(DisplayWidthMM(s.display, screen)) /
                             std::max(DisplayWidth(s.display, screen), 1);
    const double mmPerDotY = static_cast<double>(DisplayHeightMM(s.display, screen)) /
                             std::max(DisplayHeight(s.display, screen), 1);
    int nowWidth = oldWidth, nowHeight = oldHeight;
    const auto resize = [&](int w, int h) {
        if (w == nowWidth && h == nowHeight)
            return;
        ::XRRSetScreenSize(s.display, s.root, w, h, static_cast<int>(std::lround(w * mmPerDotX)),
                           static_cast<int>(std::lround(h * mmPerDotY)));
        nowWidth = w;
        nowHeight = h;
    };
    resize(std::max(boxWidth, oldWidth), std::max(boxHeight, oldHeight));
    const Status status =
        ::XRRSetCrtcConfig(s.display, res, crtc, CurrentTime, info->x, info->y, chosen->id,
                           info->rotation, info->outputs, info->noutput);
    resize(status == RRSetConfigSuccess ? boxWidth : oldWidth,
           status == RRSetConfigSuccess ? boxHeight : oldHeight);
    return status == RRSetConfigSuccess && !trap.Failed() ? kDispChangeSuccessful
                                                          : kDispChangeFailed;
}

} // namespace lumatone
