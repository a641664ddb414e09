#include "view/delivery.h"

namespace lumatone::view {

bool EventDelivery::Live() const {
    return app_ != nullptr && app_->form1.loaded && !app_->Ended();
}

void EventDelivery::Deliver(std::function<void()> event) {
    if (!Live())
        return;
    if (mirroring_) {
        deferred_.push_back(std::move(event));
        return;
    }
    event();
    FinishEvent();
    Sync();
}

void EventDelivery::Sync() {
    if (mirroring_ || app_ == nullptr)
        return;
    for (;;) {
        mirroring_ = true;
        mirror_();
        mirroring_ = false;
        if (deferred_.empty())
            return;
        std::vector<std::function<void()>> events;
        events.swap(deferred_);
        for (auto& event : events)
            if (Live())
                event();
        FinishEvent();
    }
}

void EventDelivery::FinishEvent() {
    // A window that shows gives the focus to the first control in its focus
    // order when none has it.
    if (Form1& f = app_->form1; Live() && f.visible && f.Focused() == nullptr)
        f.FocusNext();
}

} // namespace lumatone::view
