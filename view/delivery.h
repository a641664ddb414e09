// How a native view hands the user's and the system's events to the program.
#pragma once

#include "app/app.h"

#include <functional>
#include <vector>

namespace lumatone::view {

// An event runs at once and the view then mirrors what it changed. An event
// that arrives while the view mirrors (systems send some as windows show or
// move) waits until the mirroring is done, so mirroring never writes to the
// model.
class EventDelivery {
  public:
    // mirror: brings every native window up to date with the model.
    explicit EventDelivery(std::function<void()> mirror) : mirror_(std::move(mirror)) {}

    void Attach(App& app) { app_ = &app; }
    // Start-up has run and the program has not ended.
    bool Live() const;
    bool Mirroring() const { return mirroring_; }
    void Deliver(std::function<void()> event);
    // Mirrors, then runs the events that waited, until none is left.
    void Sync();

  private:
    void FinishEvent();

    std::function<void()> mirror_;
    App* app_ = nullptr;
    bool mirroring_ = false;
    std::vector<std::function<void()>> deferred_;
};

} // namespace lumatone::view
