// Building one gamma ramp, the pure work behind every gamma step.
#include "display/gamma.h"

#include <benchmark/benchmark.h>

namespace {

void BM_BuildGammaRamp(benchmark::State& state) {
    lumatone::GammaRamp ramp;
    std::int16_t position = 0;
    for (auto _ : state) {
        lumatone::BuildGammaRamp(lumatone::GammaForPosition(position), ramp);
        benchmark::DoNotOptimize(ramp.data());
        benchmark::ClobberMemory();
        position = static_cast<std::int16_t>((position + 1) % 38);
    }
}
BENCHMARK(BM_BuildGammaRamp);

} // namespace
