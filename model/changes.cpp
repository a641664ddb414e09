#include "model/changes.h"

namespace lumatone {

unsigned ChangedAspects(const ControlLook& a, const ControlLook& b) {
    unsigned changed = 0;
    if (a.text != b.text)
        changed |= aspect::kText;
    if (a.left != b.left || a.top != b.top || a.width != b.width || a.height != b.height ||
        a.originLeft != b.originLeft || a.originTop != b.originTop || a.ends != b.ends)
        changed |= aspect::kPlace;
    if (a.visible != b.visible)
        changed |= aspect::kVisible;
    if (a.enabled != b.enabled)
        changed |= aspect::kEnabled;
    if (a.value != b.value)
        changed |= aspect::kValue;
    if (a.foreColor != b.foreColor || a.backColor != b.backColor)
        changed |= aspect::kColors;
    if (a.font != b.font)
        changed |= aspect::kFont;
    return changed;
}

ChangeTracker::ChangeTracker(std::function<WindowLook()> window,
                             const std::vector<Control*>& controls)
    : window_(std::move(window)), shownWindow_(window_()), controls_(controls) {
    shown_.reserve(controls_.size());
    for (const Control* c : controls_)
        shown_.push_back(c->Look());
}

bool ChangeTracker::TakeWindowChange() {
    WindowLook now = window_();
    if (now == shownWindow_)
        return false;
    shownWindow_ = now;
    return true;
}

const std::vector<ControlChange>& ChangeTracker::TakeControlChanges() {
    changes_.clear();
    changes_.reserve(controls_.size());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        controls_[i]->LookInto(now_);
        if (const unsigned aspects = ChangedAspects(shown_[i], now_); aspects != 0) {
            changes_.push_back({controls_[i], aspects});
            shown_[i] = now_;
        }
    }
    return changes_;
}

} // namespace lumatone
