// The model's timers carried by one native timer at their intervals' common
// step: every native wake-up costs (under Wine a server round trip), so the
// 100 ms and 1.5 s timers ride on the 50 ms one.
#pragma once

#include <array>
#include <cstddef>
#include <numeric>

namespace lumatone::view {

template <std::size_t Count> class TimerSteps {
  public:
    // minimumMs: the fastest native timer the system runs; slower steps then
    // run late rather than early.
    explicit TimerSteps(int minimumMs = 1) : minimum_(minimumMs) {}

    // Each answers whether the native timer's step changed (0: none is needed).
    bool Start(std::size_t index, int intervalMs) { return Set(index, intervalMs); }
    bool Stop(std::size_t index) { return Set(index, 0); }
    int Step() const { return step_; }

    // One native tick: due(index) for each timer whose interval has passed.
    template <typename Due> void Tick(Due due) {
        const int step = step_;
        for (std::size_t i = 0; i < Count; ++i) {
            // A tick may stop or restart the timers after it.
            Timer& t = timers_[i];
            if (t.interval == 0)
                continue;
            t.elapsed += step;
            if (t.elapsed < t.interval)
                continue;
            t.elapsed = 0;
            due(i);
        }
    }

  private:
    struct Timer {
        int interval = 0; // 0: stopped
        int elapsed = 0;
    };

    bool Set(std::size_t index, int intervalMs) {
        if (index >= Count)
            return false;
        timers_[index] = {intervalMs, 0};
        int step = 0;
        for (const Timer& t : timers_)
            if (t.interval > 0)
                step = std::gcd(step, t.interval);
        if (step != 0 && step < minimum_)
            step = minimum_;
        if (step == step_)
            return false;
        step_ = step;
        return true;
    }

    int minimum_;
    int step_ = 0;
    std::array<Timer, Count> timers_{};
};

} // namespace lumatone::view
