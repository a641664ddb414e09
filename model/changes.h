// What changed on a window since a view last mirrored it, so that the view
// touches only those native controls.
#pragma once

#include "model/forms.h"

#include <functional>
#include <vector>

namespace lumatone {

// What of a control changed, as bits.
namespace aspect {
constexpr unsigned kText = 1;
constexpr unsigned kPlace = 2; // place, size or a line's ends
constexpr unsigned kVisible = 4;
constexpr unsigned kEnabled = 8;
constexpr unsigned kValue = 16;
constexpr unsigned kColors = 32;
constexpr unsigned kFont = 64;
} // namespace aspect

unsigned ChangedAspects(const ControlLook& before, const ControlLook& after);

struct ControlChange {
    Control* control;
    unsigned aspects;
    bool Has(unsigned a) const { return (aspects & a) != 0; }
};

class ChangeTracker {
  public:
    // Starts from the window as it is now, which is what a view shows right
    // after creating it.
    template <typename Form>
    explicit ChangeTracker(const Form& form)
        : ChangeTracker([&form] { return form.Look(); }, form.Controls()) {}
    ChangeTracker(std::function<WindowLook()> window, const std::vector<Control*>& controls);
    ChangeTracker(const ChangeTracker&) = delete;
    ChangeTracker& operator=(const ChangeTracker&) = delete;

    // Each take reports what changed since the previous take of its kind. A
    // view that does not take a change keeps it for later.
    bool TakeWindowChange();
    // Valid until the next take: a poll that finds nothing changed touches no heap.
    const std::vector<ControlChange>& TakeControlChanges();

  private:
    std::function<WindowLook()> window_;
    WindowLook shownWindow_;
    std::vector<Control*> controls_;
    std::vector<ControlLook> shown_; // one per control, in the same order
    ControlLook now_;
    std::vector<ControlChange> changes_;
};

} // namespace lumatone
