#include "display/gamma_keeper.h"

#include "display/gamma_ramp.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace lumatone {
namespace {

// "\\.\DISPLAY2" is shown as "DISPLAY2".
std::string_view ShownName(std::string_view name) {
    constexpr std::string_view prefix = "\\\\.\\";
    if (name.substr(0, prefix.size()) == prefix)
        name.remove_prefix(prefix.size());
    return name;
}

} // namespace

GammaKeeper::ReadBack GammaKeeper::Read(const std::string& name) const {
    GammaRamp back;
    if (!sessionActive_ || !output_.ReadRamp(name, back))
        return ReadBack::Unreadable;
    const int tolerance = output_.ReadBackTolerance();
    for (std::size_t i = 0; i < back.size(); ++i)
        if (std::abs(static_cast<int>(back[i]) - static_cast<int>(ramp_[i])) > tolerance)
            return ReadBack::Differs;
    return ReadBack::Same;
}

bool GammaKeeper::WriteOne(Display& display) {
    if (display.primary && !display.direct) {
        if (SetGamma(output_, GammaForPosition(position_)))
            return true;
        if (display.name.empty())
            return false;
        display.direct = true;
    }
    return output_.WriteRamp(display.name, ramp_);
}

bool GammaKeeper::WritePrimary(Display& d, bool wholeScreenTook) {
    d.direct = false;
    if (d.name.empty())
        return wholeScreenTook && Read({}) != ReadBack::Differs;
    // Read through its own context: a write keeps to one whole-screen context.
    if (wholeScreenTook && Read(d.name) != ReadBack::Differs)
        return true;
    d.direct = true;
    return output_.WriteRamp(d.name, ramp_) && Read(d.name) != ReadBack::Differs;
}

void GammaKeeper::Write(std::int16_t position, bool byUser) {
    if (position < 0 || position > kGammaMaxPosition || !unavailable_.empty())
        return;
    const double exponent = GammaForPosition(position);
    const bool wholeScreenTook = SetGamma(output_, exponent);

    position_ = position;
    BuildGammaRamp(exponent, ramp_);
    written_ = true;
    if (byUser)
        gaveUp_ = false;
    // Also a system event's: a check that ran between the system's reset and
    // its notice took the system for another program.
    overwrites_ = {};
    // The display list changes only with the events that re-apply the ramp, so
    // a slider or a held hotkey does not ask for it on every step.
    if (displays_.empty() || !byUser)
        ListDisplays();

    for (Display& d : displays_) {
        if (d.primary) {
            d.holds = WritePrimary(d, wholeScreenTook);
            continue;
        }
        // A read-back that fails proves nothing either way: the display is trusted.
        d.holds = output_.WriteRamp(d.name, ramp_) && Read(d.name) != ReadBack::Differs;
    }
    NoteRefusals();
}

void GammaKeeper::ListDisplays() {
    displays_.clear();
    for (DisplayDevice& d : output_.Displays())
        displays_.push_back({std::move(d.name), d.primary, false, false});
    if (displays_.empty())
        displays_.push_back({{}, true, false, false});
}

void GammaKeeper::Check() {
    if (!Keeping() || !sessionActive_)
        return;
    ++checks_;
    std::vector<Display*> changed;
    // A display that refused the last write is not read: it would always differ.
    // The primary through the whole screen: under Wine a third of the cost of
    // a context of its own, on every tick.
    for (Display& d : displays_) {
        if (!d.holds)
            continue;
        ReadBack back = d.primary && !d.direct ? Read({}) : Read(d.name);
        if (back == ReadBack::Unreadable && d.primary && !d.direct && !d.name.empty()) {
            d.direct = true;
            back = Read(d.name);
        }
        if (back == ReadBack::Differs)
            changed.push_back(&d);
    }
    if (changed.empty())
        return;
    std::shift_left(overwrites_.begin(), overwrites_.end(), 1);
    overwrites_.back() = checks_;
    if (overwrites_.front() != 0 && checks_ - overwrites_.front() < kChecksInAMinute) {
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
            note_ = refused_;
            return;
        }
        note_ += note_.empty() ? refused_ + ": " : ", ";
        note_ += ShownName(d.name);
    }
}

} // namespace lumatone
