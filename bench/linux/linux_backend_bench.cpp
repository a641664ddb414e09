// The Linux backend's costs on a live desktop (scripts/env.sh gives one):
// key state as the 50 ms poll asks for it, the volume read ten times a
// second, and a gamma write with its read-back. Every global operator new is
// counted, so an idle tick that touches the heap shows.
#include "display/gamma_ramp.h"
#include "platform/linux/linux_keyboard.h"
#include "platform/linux/linux_screen.h"
#include "platform/linux/linux_volume.h"

#include "allocation_count.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <thread>

namespace {

// One query within a burst: the keymap read by the burst's first is reused.
void BM_LinuxKeyState(benchmark::State& state) {
    lumatone::LinuxKeyboard keyboard;
    for (auto _ : state)
        benchmark::DoNotOptimize(keyboard.GetAsyncKeyState('A'));
}
BENCHMARK(BM_LinuxKeyState);

// A whole burst of 36 queries, as one poll of every bound key asks, after a
// pause that ends the previous burst, with no key event in between: the tick
// of a program whose keys nobody touches, with the volume read-out's read.
// It reads no socket and touches no heap.
void BM_LinuxKeyStateBurst(benchmark::State& state) {
    lumatone::LinuxKeyboard keyboard;
    lumatone::LinuxVolume volume;
    volume.Present();
    keyboard.GetAsyncKeyState('A'); // the first look at the server
    const AllocationCount count(state);
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(11));
        state.ResumeTiming();
        for (int key = 'A'; key < 'A' + 36; ++key)
            benchmark::DoNotOptimize(keyboard.GetAsyncKeyState(key));
        benchmark::DoNotOptimize(volume.Read());
    }
}
BENCHMARK(BM_LinuxKeyStateBurst)->Iterations(200)->UseRealTime();

// The same burst after a key was tapped (xdotool, outside the timing): the
// events are taken in and the server is asked once.
void BM_LinuxKeyStateBurstAfterEvent(benchmark::State& state) {
    lumatone::LinuxKeyboard keyboard;
    for (auto _ : state) {
        state.PauseTiming();
        if (std::system("xdotool key Shift_L") != 0)
            state.SkipWithError("no xdotool");
        std::this_thread::sleep_for(std::chrono::milliseconds(11));
        state.ResumeTiming();
        for (int key = 'A'; key < 'A' + 36; ++key)
            benchmark::DoNotOptimize(keyboard.GetAsyncKeyState(key));
    }
}
BENCHMARK(BM_LinuxKeyStateBurstAfterEvent)->Iterations(100)->UseRealTime();

// The volume read-out's one read: the sink's state as last heard from the
// server's events, no round trip.
void BM_LinuxVolumeRead(benchmark::State& state) {
    lumatone::LinuxVolume volume;
    if (!volume.Present())
        state.SkipWithError("no sound server");
    for (auto _ : state)
        if (!volume.Read())
            state.SkipWithError("no sound server");
}
BENCHMARK(BM_LinuxVolumeRead)->MeasureProcessCPUTime()->UseRealTime();

// A connection made, the sink's state heard and the connection closed again,
// as a read without a kept connection would cost.
void BM_LinuxVolumeReadNewConnection(benchmark::State& state) {
    for (auto _ : state) {
        lumatone::LinuxVolume volume;
        if (!volume.Present() || !volume.Read())
            state.SkipWithError("no sound server");
    }
}
BENCHMARK(BM_LinuxVolumeReadNewConnection)->MeasureProcessCPUTime()->UseRealTime();

// A ramp written to the whole screen and read back from it.
void BM_LinuxRampWriteRead(benchmark::State& state) {
    lumatone::LinuxScreen screen;
    lumatone::GammaRamp ramp;
    lumatone::BuildGammaRamp(lumatone::GammaForPosition(lumatone::kGammaResetPosition), ramp);
    lumatone::GammaRamp back{};
    for (auto _ : state)
        if (!screen.WriteRamp("", ramp) || !screen.ReadRamp("", back))
            state.SkipWithError("no gamma ramp");
}
BENCHMARK(BM_LinuxRampWriteRead)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
