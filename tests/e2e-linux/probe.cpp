// Reads the screen's state the way a user's tools would, for the end-to-end
// cases of the Linux program.
//   probe gamma POSITION    largest difference, over every CRTC in use, between
//                           its RandR ramp and the ramp of that gamma slider
//                           position (in 16-bit steps); fails without a CRTC
//   probe gamma-position    the slider position whose ramp is closest to the
//                           screen's, and that largest difference
#include "display/gamma.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: probe gamma POSITION | gamma-position\n");
    return 2;
}

lumatone::GammaRamp RampOf(int position) {
    lumatone::GammaRamp ramp;
    lumatone::BuildGammaRamp(lumatone::GammaForPosition(static_cast<std::int16_t>(position)), ramp);
    return ramp;
}

// -1 when no CRTC in use could be read.
int GammaDifference(Display* display, const lumatone::GammaRamp& want) {
    XRRScreenResources* resources =
        XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (resources == nullptr)
        return -1;
    int worst = -1;
    for (int i = 0; i < resources->ncrtc; ++i) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
        const bool used = crtc != nullptr && crtc->mode != None;
        if (crtc != nullptr)
            XRRFreeCrtcInfo(crtc);
        if (!used)
            continue;
        const int size = XRRGetCrtcGammaSize(display, resources->crtcs[i]);
        XRRCrtcGamma* gamma = XRRGetCrtcGamma(display, resources->crtcs[i]);
        if (gamma == nullptr || size <= 0) {
            if (gamma != nullptr)
                XRRFreeGamma(gamma);
            continue;
        }
        worst = worst < 0 ? 0 : worst;
        // Entry k of a ramp of another size stands where entry k * 255 / (size - 1) of ours does.
        for (int k = 0; k < size; ++k) {
            const int j = size == 1 ? 0 : k * 255 / (size - 1);
            const unsigned short* channels[3] = {gamma->red, gamma->green, gamma->blue};
            for (int c = 0; c < 3; ++c) {
                const int d =
                    std::abs(static_cast<int>(channels[c][k]) -
                             static_cast<int>(want[static_cast<std::size_t>(c * 256 + j)]));
                worst = d > worst ? d : worst;
            }
        }
        XRRFreeGamma(gamma);
    }
    XRRFreeScreenResources(resources);
    return worst;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command != "gamma-position" && !(command == "gamma" && argc > 2))
        return Usage();
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    int position = -1, worst = -1;
    if (command == "gamma") {
        position = std::atoi(argv[2]);
        worst = GammaDifference(display, RampOf(position));
    } else {
        for (int p = 0; p <= lumatone::kGammaMaxPosition; ++p) {
            const int d = GammaDifference(display, RampOf(p));
            if (d >= 0 && (worst < 0 || d < worst)) {
                worst = d;
                position = p;
            }
        }
    }
    XCloseDisplay(display);
    if (worst < 0)
        return 1;
    if (command == "gamma")
        std::printf("%d\n", worst);
    else
        std::printf("%d %d\n", position, worst);
    return 0;
}
