// The Linux backend's costs on a live desktop (scripts/env.sh gives one):
// key state as the 50 ms poll asks for it, the volume read-out's mixer cycle
// ten times a second, and a gamma write with its read-back.
#include "audio/volumecontrol.h"
#include "display/gamma.h"
#include "platform/linux/linux_keyboard.h"
#include "platform/linux/linux_mixer.h"
#include "platform/linux/linux_screen.h"
#include "platform/portable/portable_memory.h"

#include <benchmark/benchmark.h>

#include <chrono>
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
// pause that lets the keymap read go stale: one round trip to the server.
void BM_LinuxKeyStateBurst(benchmark::State& state) {
    lumatone::LinuxKeyboard keyboard;
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(11));
        state.ResumeTiming();
        for (int key = 'A'; key < 'A' + 36; ++key)
            benchmark::DoNotOptimize(keyboard.GetAsyncKeyState(key));
    }
}
BENCHMARK(BM_LinuxKeyStateBurst)->Iterations(200)->UseRealTime();

// Open, look up the control, read, close: the volume read-out's cycle. The
// server's own work shows in the wall time, not in this process's CPU.
void BM_LinuxMixerCycle(benchmark::State& state) {
    lumatone::LinuxMixer mixer;
    lumatone::PortableMemory memory;
    lumatone::VolumeControl volume(mixer, memory);
    for (auto _ : state) {
        if (!volume.OpenMixer(0))
            state.SkipWithError("no sound server");
        benchmark::DoNotOptimize(volume.ReadVolume(0));
        volume.CloseMixer();
    }
}
BENCHMARK(BM_LinuxMixerCycle)->MeasureProcessCPUTime()->UseRealTime();

// The same cycle on a connection made for it, as a mixer without a kept
// connection would pay every time.
void BM_LinuxMixerCycleNewConnection(benchmark::State& state) {
    lumatone::PortableMemory memory;
    for (auto _ : state) {
        lumatone::LinuxMixer mixer;
        lumatone::VolumeControl volume(mixer, memory);
        if (!volume.OpenMixer(0))
            state.SkipWithError("no sound server");
        benchmark::DoNotOptimize(volume.ReadVolume(0));
        volume.CloseMixer();
    }
}
BENCHMARK(BM_LinuxMixerCycleNewConnection)->MeasureProcessCPUTime()->UseRealTime();

// A ramp written through the whole screen's context and read back through it.
void BM_LinuxRampWriteRead(benchmark::State& state) {
    lumatone::LinuxScreen screen;
    lumatone::GammaRamp ramp;
    lumatone::BuildGammaRamp(lumatone::GammaForPosition(lumatone::kGammaResetPosition), ramp);
    lumatone::GammaRamp back{};
    for (auto _ : state) {
        lumatone::ScopedDc dc(screen, 0);
        if (!screen.SetDeviceGammaRamp(dc.get(), ramp) ||
            !screen.GetDeviceGammaRamp(dc.get(), back))
            state.SkipWithError("no gamma ramp");
    }
}
BENCHMARK(BM_LinuxRampWriteRead)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
