// Every global operator new of a benchmark program is counted
// (allocation_count.cpp), so a tick that touches the heap shows.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

std::uint64_t Allocations();

// Heap allocations per iteration into the counters, over the object's life;
// an error when any, as the measured tick must touch no heap.
class AllocationCount {
  public:
    explicit AllocationCount(benchmark::State& state);
    ~AllocationCount();
    AllocationCount(const AllocationCount&) = delete;
    AllocationCount& operator=(const AllocationCount&) = delete;

  private:
    benchmark::State& state_;
    std::uint64_t before_ = 0;
};
