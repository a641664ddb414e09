#pragma once

#include "platform/gamma_output.h"

#include <memory>
#include <string>

namespace lumatone {

// Ramps through a Wayland compositor's gamma control (wlr-gamma-control:
// sway, Hyprland, river, wayfire), on a connection of its own beside the
// view's X11 one. A control is exclusive, and the compositor restores its own
// ramp when the control or the connection goes: both live as long as this.
// Outside a Wayland session it does not connect, and offers nothing.
class WaylandGamma : public GammaOutput {
  public:
    // The compositor's socket as WAYLAND_DISPLAY names it; connects only in a
    // Wayland session.
    WaylandGamma();
    // Connects to the given socket (a name or a path); empty: none.
    explicit WaylandGamma(const std::string& socket);
    ~WaylandGamma() override;
    WaylandGamma(const WaylandGamma&) = delete;
    WaylandGamma& operator=(const WaylandGamma&) = delete;

    // The compositor answered and offers gamma control to clients.
    bool Offered() const;

    // The outputs in the compositor's order; the first stands for the whole
    // screen. An output plugged in since is listed, and takes its first ramp,
    // on the next call.
    std::vector<DisplayDevice> Displays() override;
    // Refused where the compositor sends "failed": the output has no gamma
    // table, or another client holds its control.
    bool WriteRamp(const std::string& display, const GammaRamp& ramp) override;
    // The protocol reads nothing back: while its control lasts, an output
    // holds exactly what was last written to it; once the compositor took
    // the control away, the identity, which it puts back.
    bool ReadRamp(const std::string& display, GammaRamp& ramp) override;
    int ReadBackTolerance() const override { return 0; }
    std::string RefusedNote() const override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The session's gamma: the compositor's control where it offers one, else
// the X server's ramps (on Wayland, the note that the desktop keeps them).
GammaOutput& SessionGamma(WaylandGamma& wayland, GammaOutput& x11);

} // namespace lumatone
