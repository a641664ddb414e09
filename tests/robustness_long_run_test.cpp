// Long sessions: a hundred thousand gamma writes, volume polls and hotkey
// ticks give back every screen context, mixer handle, transfer buffer and
// process handle, and the heap does not grow.
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>

#if defined(__SANITIZE_ADDRESS__)
#define LUMATONE_HEAP_FROM_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMATONE_HEAP_FROM_ASAN 1
#endif
#endif

#if defined(LUMATONE_HEAP_FROM_ASAN)
// AddressSanitizer's public interface; GCC ships the library but not its header.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

namespace lumatone {
namespace {

using testing::SimApp;

constexpr int kRuns = 100000;
// Slack for allocator bookkeeping; a leak of even one small object per
// iteration would be several megabytes.
constexpr std::ptrdiff_t kHeapSlack = 64 * 1024;

std::optional<std::ptrdiff_t> HeapInUse() {
#if defined(LUMATONE_HEAP_FROM_ASAN)
    return static_cast<std::ptrdiff_t>(__sanitizer_get_current_allocated_bytes());
#elif defined(__GLIBC__)
    return static_cast<std::ptrdiff_t>(mallinfo2().uordblks);
#else
    return std::nullopt;
#endif
}

// The simulator keeps a record of every ramp, launch and mixer write; the
// program must not depend on it, so a long run empties it as it goes, and
// gives its memory back: a driver that refuses doubles the ramps offered.
void ForgetRecords(SimApp& s) {
    std::vector<GammaRamp>().swap(s.sim.screen.rampWrites);
    s.sim.launcher.launches.clear();
    s.sim.mixer.writes.clear();
}

struct Counters {
    std::int64_t contexts, mixerHandles, buffers, processHandles;
};
Counters Outstanding(SimApp& s) {
    return {s.sim.screen.contextsOutstanding, s.sim.mixer.OpenHandles(), s.sim.memory.outstanding,
            s.sim.launcher.handlesOutstanding};
}
void ExpectNoneOutstanding(SimApp& s) {
    const Counters c = Outstanding(s);
    EXPECT_EQ(c.contexts, 0);
    EXPECT_EQ(c.mixerHandles, 0);
    EXPECT_EQ(c.buffers, 0);
    EXPECT_EQ(c.processHandles, 0);
}

// Runs step kRuns times; the heap is measured after a warm-up so that
// containers have reached their working size.
template <class Step> void RunAndWatchHeap(SimApp& s, Step step) {
    for (int i = 0; i < 1000; ++i)
        step(i);
    ForgetRecords(s);
    const auto before = HeapInUse();
    for (int i = 1000; i < kRuns; ++i) {
        step(i);
        if (i % 1000 == 0)
            ForgetRecords(s);
    }
    ForgetRecords(s);
    const auto after = HeapInUse();
    if (before && after) {
        EXPECT_LT(*after - *before, kHeapSlack) << "heap grew from " << *before << " to " << *after;
    }
}

TEST(LongRun, HundredThousandGammaWrites) {
    SimApp s;
    App& app = s.Start();
    const std::uint64_t obtainedBefore = s.sim.screen.contextsObtained;
    RunAndWatchHeap(s, [&](int i) {
        if (i == kRuns / 2)
            s.sim.screen.refuseRamps = true; // a driver that stops taking ramps half-way
        app.form1.HScroll1.SetValue(static_cast<std::int16_t>(i % 2 == 0 ? 37 : i % 37));
    });
    EXPECT_EQ(s.sim.screen.contextsObtained - obtainedBefore, static_cast<std::uint64_t>(kRuns));
    ExpectNoneOutstanding(s);
}

TEST(LongRun, HundredThousandVolumePolls) {
    SimApp s;
    App& app = s.Start();
    ASSERT_TRUE(app.form1.Timer3.enabled);
    const std::uint64_t readsBefore = s.sim.mixer.getCalls;
    RunAndWatchHeap(s, [&](int i) {
        if (i % 7 == 0)
            s.sim.mixer.SetLevelOutside(static_cast<std::uint32_t>(i % 65536));
        if (i == kRuns / 2)
            s.sim.mixer.LoseDevice(); // the sound card goes away mid-session
        app.form1.Timer3.Tick();
    });
    EXPECT_GE(s.sim.mixer.getCalls - readsBefore, static_cast<std::uint64_t>(kRuns / 2));
    ExpectNoneOutstanding(s);
}

TEST(LongRun, HundredThousandHotkeyTicks) {
    SimApp s;
    App& app = s.Start();
    Form1& f = app.form1;
    TextBox* codes[] = {&f.Text12, &f.Text13, &f.Text14, &f.Text15, &f.Text16, &f.Text24,
                        &f.Text17, &f.Text18, &f.Text19, &f.Text20, &f.Text21, &f.Text25,
                        &f.Text32, &f.Text33, &f.Text34, &f.Text35, &f.Text36, &f.Text37};
    for (int i = 0; i < 18; ++i)
        codes[i]->text = std::to_string(65 + i);
    // Each of the nine actions in turn, held for 50 ticks: every bound is
    // reached, every reset and mute fires.
    int held = -1;
    RunAndWatchHeap(s, [&](int i) {
        const int pair = (i / 50) % 9;
        if (pair != held) {
            for (int k = 65; k < 83; ++k)
                s.sim.keyboard.Release(k);
            s.sim.keyboard.Press(65 + 2 * pair);
            s.sim.keyboard.Press(66 + 2 * pair);
            held = pair;
        }
        f.Timer1.Tick();
    });
    EXPECT_GT(s.sim.screen.contextsObtained, 1000u);
    ExpectNoneOutstanding(s);
}

} // namespace
} // namespace lumatone
