#include "allocation_count.h"

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

std::uint64_t Allocations() {
    return gAllocations.load();
}

AllocationCount::AllocationCount(benchmark::State& state) : state_(state) {
    // A zero means nothing only if the hook sees allocations at all.
    const std::uint64_t probe = Allocations();
    benchmark::DoNotOptimize(std::make_unique<std::string>(64, 'x'));
    if (Allocations() == probe)
        state_.SkipWithError("the allocation hook is not in use");
    before_ = Allocations();
}

AllocationCount::~AllocationCount() {
    const std::uint64_t allocations = Allocations() - before_;
    state_.counters["allocs/tick"] = benchmark::Counter(static_cast<double>(allocations) /
                                                        static_cast<double>(state_.iterations()));
    if (allocations != 0)
        state_.SkipWithError("the tick allocated on the heap");
}
