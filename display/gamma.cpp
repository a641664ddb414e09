#include "display/gamma.h"

#include "base/integer_text.h"
#include "model/forms.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace lumatone {

double GammaForPosition(std::int16_t position) {
    return static_cast<double>(40 - position) / 10.01;
}

std::int16_t LowWord(std::int32_t n) {
    std::int16_t low;
    const std::uint16_t bits = static_cast<std::uint16_t>(static_cast<std::uint32_t>(n) & 0xFFFFu);
    std::memcpy(&low, &bits, sizeof low);
    return low;
}

void BuildGammaRamp(double exponent, GammaRamp& ramp) {
    for (int i = 0; i < 256; ++i) {
        const double base = static_cast<double>(i + 1) / 256.01;
        const double x = std::pow(base, exponent) * 65535.0 + 0.5;
        // nearbyint follows the current rounding mode: to nearest, halves to even.
        // Exponents near 0 round the top entries up to 65536, which the 16-bit
        // store would wrap to black; negative ones can exceed any integer.
        const double r = std::nearbyint(x);
        const auto n = static_cast<std::int32_t>(r >= 65535.0 ? 65535.0 : r > 0.0 ? r : 0.0);
        const auto w = static_cast<std::uint16_t>(LowWord(n));
        ramp[static_cast<std::size_t>(i)] = w;
        ramp[static_cast<std::size_t>(i) + 256] = w;
        ramp[static_cast<std::size_t>(i) + 512] = w;
    }
}

bool SetGamma(Screen& screen, double exponent) {
    // 0 or less would turn the whole screen white; the slider's exponents all
    // lie well above 0.
    if (!std::isfinite(exponent) || exponent <= 0.0)
        return false;
    GammaRamp ramp;
    BuildGammaRamp(exponent, ramp);
    ScopedDc dc(screen, 0);
    return screen.SetDeviceGammaRamp(dc.get(), ramp);
}

namespace {

// A driver may keep as few as 8 bits of each entry, truncate, and report them
// scaled by 256 or 257.
constexpr int kReadBackTolerance = 512;

// "\\.\DISPLAY2" is shown as "DISPLAY2".
std::string_view ShownName(std::string_view name) {
    constexpr std::string_view prefix = "\\\\.\\";
    if (name.substr(0, prefix.size()) == prefix)
        name.remove_prefix(prefix.size());
    return name;
}

} // namespace

GammaKeeper::ReadBack GammaKeeper::Compare(DcHandle dc) const {
    GammaRamp back;
    if (dc == 0 || !screen_.GetDeviceGammaRamp(dc, back))
        return ReadBack::Unreadable;
    for (std::size_t i = 0; i < back.size(); ++i)
        if (std::abs(static_cast<int>(back[i]) - static_cast<int>(ramp_[i])) > kReadBackTolerance)
            return ReadBack::Differs;
    return ReadBack::Same;
}

GammaKeeper::ReadBack GammaKeeper::Read(const Display& display, bool wholeScreen) const {
    if (wholeScreen || display.name.empty()) {
        const ScopedDc dc(screen_, 0);
        return Compare(dc.get());
    }
    const ScopedDisplayDc dc(screen_, display.name);
    return Compare(dc.get());
}

bool GammaKeeper::WriteOne(const Display& display) {
    if (display.primary)
        return SetGamma(screen_, GammaForPosition(position_));
    const ScopedDisplayDc dc(screen_, display.name);
    return screen_.SetDeviceGammaRamp(dc.get(), ramp_);
}

void GammaKeeper::Write(std::int16_t position, bool byUser) {
    if (position < 0 || position > kGammaMaxPosition)
        return;
    const double exponent = GammaForPosition(position);
    const bool wholeScreenTook = SetGamma(screen_, exponent);

    position_ = position;
    BuildGammaRamp(exponent, ramp_);
    written_ = true;
    if (byUser) {
        gaveUp_ = false;
        overwrites_ = 0;
    }
    // The display list changes only with the events that re-apply the ramp, so
    // a slider or a held hotkey does not ask for it on every step.
    if (displays_.empty() || !byUser) {
        displays_.clear();
        for (DisplayDevice& d : screen_.EnumDisplayDevices())
            displays_.push_back({std::move(d.name), d.primary, false});
        if (displays_.empty())
            displays_.push_back({{}, true, false});
    }

    for (Display& d : displays_) {
        if (d.primary) {
            // Its own context: the write keeps to one whole-screen context.
            d.holds = wholeScreenTook && Read(d, false) != ReadBack::Differs;
            continue;
        }
        const ScopedDisplayDc dc(screen_, d.name);
        // A read-back that fails proves nothing either way: the display is trusted.
        d.holds =
            screen_.SetDeviceGammaRamp(dc.get(), ramp_) && Compare(dc.get()) != ReadBack::Differs;
    }
    NoteRefusals();
}

void GammaKeeper::Check() {
    if (!Keeping())
        return;
    std::vector<Display*> changed;
    // A display that refused the last write is not read: it would always differ.
    // The primary through the whole-screen context: under Wine a third of the
    // cost of a context of its own, on every tick.
    for (Display& d : displays_)
        if (d.holds && Read(d, d.primary) == ReadBack::Differs)
            changed.push_back(&d);
    if (changed.empty()) {
        overwrites_ = 0;
        return;
    }
    if (++overwrites_ >= kOverwritesBeforeGivingUp) {
        gaveUp_ = true;
        note_ = kNoteGammaTakenOver;
        return;
    }
    bool refused = false;
    for (Display* d : changed) {
        if (!WriteOne(*d)) {
            d->holds = false;
            refused = true;
        }
    }
    if (refused)
        NoteRefusals();
}

void GammaKeeper::NoteRefusals() {
    note_.clear();
    for (const Display& d : displays_) {
        if (d.holds)
            continue;
        if (displays_.size() == 1) {
            note_ = kNoteGammaRefused;
            return;
        }
        note_ += note_.empty() ? std::string(kNoteGammaRefused) + ": " : ", ";
        note_ += ShownName(d.name);
    }
}

GammaControls::GammaControls(Form1& form, Screen& screen) : form_(form), keeper_(screen) {
    form_.HScroll1.onChange = [this] { OnChange(); };
    form_.Command3.onClick = [this] { OnReset(); };
}

void GammaControls::OnChange() {
    const std::int16_t p = form_.HScroll1.Value();
    Apply(p);
    form_.Label1.caption = DecimalText(p);
}

void GammaControls::OnReset() {
    form_.HScroll1.SetValue(kGammaResetPosition);
}

void GammaControls::Apply(std::int16_t position) {
    keeper_.Write(position, true);
    ShowNote();
}

void GammaControls::Reapply() {
    if (!keeper_.Keeping())
        return;
    keeper_.Write(form_.HScroll1.Value(), false);
    ShowNote();
}

void GammaControls::Check() {
    keeper_.Check();
    ShowNote();
}

void GammaControls::ShowNote() {
    form_.GammaNote.caption = keeper_.Note();
}

} // namespace lumatone
