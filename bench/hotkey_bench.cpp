// One Timer1 tick: both read-outs and the poll of all nine pairs, none firing.
// Every global operator new is counted, so a tick that touches the heap shows.
#include "app/app.h"
#include "app/windows_capabilities.h"
#include "platform/sim/sim_platform.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

namespace {
std::atomic<std::uint64_t> gAllocations{0};
}

// Out of line, so the compiler never pairs an inlined free with a new it cannot see through.
[[gnu::noinline]] void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

void BM_Timer1Tick(benchmark::State& state) {
    const bool bound = state.range(0) != 0;
    lumatone::SimPlatform sim;
    lumatone::WindowsCapabilities capabilities(sim.services);
    lumatone::App app(capabilities.capabilities);
    app.Load();
    lumatone::Form1& f = app.form1;
    if (bound) {
        lumatone::TextBox* codes[] = {&f.Text12, &f.Text13, &f.Text14, &f.Text15, &f.Text16,
                                      &f.Text24, &f.Text17, &f.Text18, &f.Text19, &f.Text20,
                                      &f.Text21, &f.Text25, &f.Text32, &f.Text33, &f.Text34,
                                      &f.Text35, &f.Text36, &f.Text37};
        int key = 65; // A..R, none of them held
        for (lumatone::TextBox* box : codes)
            box->text = std::to_string(key++);
    }
    f.HScroll1.SetValue(27);
    f.HScroll2.SetValue(50);
    f.Timer1.Tick(); // the read-outs take their first numbers outside the count

    // A zero means nothing only if the hook sees allocations at all.
    const std::uint64_t probe = gAllocations.load();
    benchmark::DoNotOptimize(std::make_unique<std::string>(64, 'x'));
    if (gAllocations.load() == probe)
        state.SkipWithError("the allocation hook is not in use");

    const std::uint64_t before = gAllocations.load();
    std::uint64_t ticks = 0;
    for (auto _ : state) {
        f.Timer1.Tick();
        ++ticks;
    }
    const std::uint64_t allocations = gAllocations.load() - before;
    state.counters["allocs/tick"] =
        benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(ticks));
    state.counters["key queries/tick"] = benchmark::Counter(
        static_cast<double>(sim.keyboard.queries) / static_cast<double>(ticks + 1));
    if (allocations != 0)
        state.SkipWithError("the tick allocated on the heap");
    if (f.HScroll1.Value() != 27 || f.HScroll2.Value() != 50)
        state.SkipWithError("a pair fired");
}
BENCHMARK(BM_Timer1Tick)->ArgName("bound")->Arg(1)->Arg(0);

} // namespace
