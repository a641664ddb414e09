// One Timer1 tick: both read-outs and the poll of all nine pairs, none firing;
// on the model alone, and as a native program's timer delivers it through the
// view kit, which then mirrors the windows. Every global operator new is
// counted, so a tick that touches the heap shows.
#include "app/app.h"
#include "app/windows_capabilities.h"
#include "platform/sim/sim_platform.h"
#include "view/kit.h"

#include "allocation_count.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <deque>
#include <memory>
#include <new>
#include <string>

namespace {

// A native program that has windows and does nothing with them.
class IdleNative : public lumatone::view::NativeWindows {
  public:
    int DotsPerInch() override { return 96; }
    lumatone::view::PixelSize ScreenSize() override { return {1280, 1024}; }
    std::optional<lumatone::PixelRect> WorkArea() override {
        return lumatone::PixelRect{0, 0, 1280, 1024};
    }
    lumatone::view::NativeHandle CreateForm1(lumatone::Form1&) override { return New(); }
    lumatone::view::NativeHandle CreateForm2(lumatone::Form2&) override { return New(); }
    void CreateControl(lumatone::view::NativeControl& n, lumatone::view::NativeHandle,
                       int) override {
        n.handle = New();
    }
    void Raise(lumatone::view::NativeHandle) override {}
    void Discard(lumatone::view::FormWindow&) override {}
    bool Shown(lumatone::view::NativeHandle w) override { return *static_cast<bool*>(w); }
    bool Minimized(lumatone::view::NativeHandle) override { return false; }
    void Place(lumatone::view::NativeHandle, const lumatone::PixelRect&) override {}
    void Show(lumatone::view::NativeHandle w, bool) override { *static_cast<bool*>(w) = true; }
    void Hide(lumatone::view::NativeHandle w, bool) override { *static_cast<bool*>(w) = false; }
    void Repaint(lumatone::view::NativeHandle) override {}
    void ApplyText(lumatone::view::NativeControl&, const std::string&) override {}
    void ApplyValue(lumatone::view::NativeControl&, int) override {}
    void ApplyLook(lumatone::view::NativeControl&, const lumatone::ControlLook&,
                   unsigned) override {}
    void StartTimer(std::size_t, int) override {}
    void StopTimer(std::size_t) override {}
    lumatone::view::NativeHandle FocusIn(lumatone::view::NativeHandle) override { return nullptr; }
    bool Focusable(lumatone::view::NativeHandle) override { return true; }
    void Focus(lumatone::view::NativeHandle) override {}

  private:
    lumatone::view::NativeHandle New() {
        windows_.push_back(false);
        return &windows_.back();
    }
    std::deque<bool> windows_;
};

enum class Path { Model, ShownWindow, HiddenWindow };

// idle: 50 ms pass between ticks with no input, so after the first ticks the
// poll asks no key; otherwise the clock stands still, as if input had just
// come, and every tick asks every bound key.
void RunTimer1Ticks(benchmark::State& state, Path path, bool idle = false) {
    const bool bound = state.range(0) != 0;
    lumatone::SimPlatform sim;
    lumatone::WindowsCapabilities capabilities(sim.services);
    lumatone::App app(capabilities.capabilities);
    IdleNative native;
    lumatone::view::ViewKit kit(native);
    if (path != Path::Model && !kit.Create(app)) {
        state.SkipWithError("no window");
        return;
    }
    app.Load();
    kit.Sync();
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
    f.visible = path != Path::HiddenWindow;
    const auto tick = [&] {
        if (idle)
            sim.system.nowMs += 50;
        if (path == Path::Model)
            f.Timer1.Tick();
        else
            kit.Tick(0);
    };
    // The read-outs and the mirror take their first numbers outside the
    // count, and an idle poll its first look at the input time.
    for (int i = 0; i < 4; ++i)
        tick();

    const std::uint64_t queriesBefore = sim.keyboard.queries;
    {
        const AllocationCount count(state);
        for (auto _ : state)
            tick();
    }
    state.counters["key queries/tick"] =
        benchmark::Counter(static_cast<double>(sim.keyboard.queries - queriesBefore) /
                           static_cast<double>(state.iterations()));
    if (f.HScroll1.Value() != 27 || f.HScroll2.Value() != 50)
        state.SkipWithError("a pair fired");
}

void BM_Timer1Tick(benchmark::State& state) {
    RunTimer1Ticks(state, Path::Model);
}
void BM_Timer1TickIdle(benchmark::State& state) {
    RunTimer1Ticks(state, Path::Model, true);
}
void BM_NativeTimer1Tick_Shown(benchmark::State& state) {
    RunTimer1Ticks(state, Path::ShownWindow);
}
void BM_NativeTimer1Tick_Hidden(benchmark::State& state) {
    RunTimer1Ticks(state, Path::HiddenWindow);
}
BENCHMARK(BM_Timer1Tick)->ArgName("bound")->Arg(1)->Arg(0);
BENCHMARK(BM_Timer1TickIdle)->ArgName("bound")->Arg(1);
BENCHMARK(BM_NativeTimer1Tick_Shown)->ArgName("bound")->Arg(1)->Arg(0);
BENCHMARK(BM_NativeTimer1Tick_Hidden)->ArgName("bound")->Arg(1)->Arg(0);

} // namespace
