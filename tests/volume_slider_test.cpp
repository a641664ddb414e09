#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <functional>

namespace lumatone {
namespace {

using Op = SimMixer::Op;
using testing::SimApp;

constexpr std::uint64_t kTick = 100;

TEST(VolumeSlider, MovingTheSliderSetsTheInvertedLevel) {
    SimApp s;
    Form1& f = s.Start().form1;
    struct Case {
        std::int16_t position;
        const char* label;
        std::uint32_t raw;
    };
    for (const Case& c :
         {Case{100, "0", 0}, Case{25, "75", 49151}, Case{0, "100", 65535}, Case{50, "50", 32768}}) {
        SCOPED_TRACE(c.position);
        f.VScroll1.SetValue(c.position);
        EXPECT_EQ(f.Label7.caption, c.label);
        EXPECT_EQ(s.sim.mixer.Level(), c.raw);
    }
    EXPECT_EQ(s.sim.mixer.OpenHandles(), 0);
}

TEST(VolumeSlider, PollFollowsAnOutsideChangeWithinOneTick) {
    SimApp s;
    Form1& f = s.Start().form1;
    s.Advance(kTick);
    ASSERT_EQ(f.Label7.caption, "100");

    s.sim.mixer.SetLevelOutside(26214); // 40 %
    s.Advance(kTick);
    EXPECT_EQ(f.VScroll1.Value(), 60);
    EXPECT_EQ(f.Label7.caption, "40");

    // A level between whole percent is written back quantised.
    s.sim.mixer.SetLevelOutside(30000);
    const auto writes = s.sim.mixer.writes.size();
    s.Advance(kTick);
    EXPECT_EQ(f.VScroll1.Value(), 54);
    EXPECT_EQ(f.Label7.caption, "46");
    ASSERT_EQ(s.sim.mixer.writes.size(), writes + 1);
    EXPECT_EQ(s.sim.mixer.Level(), 30146u);

    // A poll that finds the slider matching writes nothing.
    const auto sets = s.sim.mixer.setCalls;
    s.Advance(50 * kTick);
    EXPECT_EQ(s.sim.mixer.setCalls, sets);
    EXPECT_EQ(f.VScroll1.Value(), 54);
    EXPECT_EQ(s.sim.mixer.OpenHandles(), 0);
    EXPECT_EQ(s.sim.memory.outstanding, 0);
}

TEST(VolumeSlider, NoLevelDriftsOverAHundredPolls) {
    struct Range {
        std::uint32_t minimum, maximum;
    };
    for (Range r :
         {Range{0, 65535}, Range{0, 100}, Range{0, 15}, Range{200, 1200}, Range{0, 0xFFFFFFFF}}) {
        SCOPED_TRACE(::testing::Message() << r.minimum << ".." << r.maximum);
        SimApp s;
        s.sim.mixer.SetRange(r.minimum, r.maximum, r.maximum);
        Form1& f = s.Start().form1;
        for (std::int16_t position : {0, 1, 33, 50, 67, 99, 100}) {
            SCOPED_TRACE(position);
            f.VScroll1.SetValue(position);
            s.Advance(kTick);
            const std::int16_t settled = f.VScroll1.Value();
            if (r.maximum - r.minimum >= 100) {
                ASSERT_EQ(settled, position);
            }
            const auto sets = s.sim.mixer.setCalls;
            const auto level = s.sim.mixer.Level();
            s.Advance(100 * kTick);
            ASSERT_EQ(f.VScroll1.Value(), settled);
            ASSERT_EQ(s.sim.mixer.setCalls, sets);
            ASSERT_EQ(s.sim.mixer.Level(), level);
        }
    }
}

TEST(VolumeSlider, WithoutAMixerTheSliderStaysAndTheSpeakersAreNotMuted) {
    SimApp s;
    s.sim.mixer.devices.clear();
    Form1& f = s.Start().form1;
    s.Advance(10 * kTick);
    EXPECT_EQ(f.VScroll1.Value(), 0);
    EXPECT_EQ(f.Label7.caption, VolumeSlider::kNoLevel);

    f.VScroll1.SetValue(30);
    EXPECT_EQ(f.Label7.caption, "70");
    s.Advance(kTick);
    EXPECT_EQ(f.VScroll1.Value(), 30);
    EXPECT_EQ(f.Label7.caption, VolumeSlider::kNoLevel);
    EXPECT_EQ(s.sim.memory.outstanding, 0);
}

TEST(VolumeSlider, TickThatCannotReadChangesNeitherSliderNorMixer) {
    struct Case {
        const char* name;
        std::function<void(SimMixer&)> arrange;
    };
    const Case cases[] = {
        {"read fails", [](SimMixer& m) { m.FailNext(Op::GetControlDetails); }},
        {"second read fails",
         [](SimMixer& m) {
             m.SetLevelOutside(0);
             m.FailNext(Op::GetControlDetails, kMmSysErrError, 1, 1);
         }},
        {"open fails", [](SimMixer& m) { m.FailNext(Op::Open); }},
        {"control lookup fails", [](SimMixer& m) { m.FailNext(Op::GetLineControls); }},
        {"device lost", [](SimMixer& m) { m.LoseDevice(); }},
        {"level above range", [](SimMixer& m) { m.SetLevelOutside(70000); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimApp s;
        Form1& f = s.Start().form1;
        f.VScroll1.SetValue(30);
        s.Advance(kTick);
        ASSERT_EQ(f.Label7.caption, "70");
        const auto sets = s.sim.mixer.setCalls;

        c.arrange(s.sim.mixer);
        s.Advance(kTick);
        EXPECT_EQ(f.VScroll1.Value(), 30);
        EXPECT_EQ(f.Label7.caption, VolumeSlider::kNoLevel);
        EXPECT_EQ(s.sim.mixer.setCalls, sets);
        EXPECT_EQ(s.sim.mixer.OpenHandles(), 0);
        EXPECT_EQ(s.sim.memory.outstanding, 0);
    }
}

// With Form1 to post to, the mixer stays open between polls and is read only
// when it says it changed; a check every kPollsPerCheck polls catches a lost notice.
TEST(VolumeSliderNotices, OutsideChangeArrivesThroughANoticeWithinOneTick) {
    SimApp s;
    Form1& f = s.Start().form1;
    s.SendMixerNoticesToForm1();
    s.Advance(kTick);
    ASSERT_EQ(f.Label7.caption, "100");
    EXPECT_EQ(s.sim.mixer.OpenHandles(), 1);

    const auto reads = s.sim.mixer.getCalls;
    const auto opens = s.sim.mixer.opens;
    s.Advance(10 * kTick);
    EXPECT_EQ(s.sim.mixer.getCalls, reads) << "nothing changed, nothing read";
    EXPECT_EQ(s.sim.mixer.opens, opens);

    s.sim.mixer.SetLevelOutside(26214); // 40 %
    s.Advance(kTick);
    EXPECT_EQ(f.VScroll1.Value(), 60);
    EXPECT_EQ(f.Label7.caption, "40");
    s.Advance(kTick); // the write-back's own notice

    s.sim.mixer.FailNext(Op::Notice);
    s.sim.mixer.SetLevelOutside(13107); // 20 %, unannounced
    s.Advance(kTick);
    EXPECT_EQ(f.VScroll1.Value(), 60);
    s.Advance(MixerMasterVolume::kPollsPerCheck * kTick);
    EXPECT_EQ(f.VScroll1.Value(), 80);
    EXPECT_EQ(f.Label7.caption, "20");
    EXPECT_EQ(s.sim.mixer.OpenHandles(), 1);
    EXPECT_EQ(s.sim.memory.outstanding, 0);
}

TEST(VolumeSliderNotices, LineChangeOpensTheMixerAfresh) {
    SimApp s;
    Form1& f = s.Start().form1;
    s.SendMixerNoticesToForm1();
    s.Advance(kTick);
    ASSERT_EQ(f.Label7.caption, "100");

    // The driver renumbers and rescales its volume control: only a new
    // lookup reads it, the old record names a control that is gone.
    s.sim.mixer.Main().controlId = 7;
    s.sim.mixer.SetRange(0, 100, 40);
    s.sim.mixer.ChangeLineOutside();
    s.Advance(kTick);
    EXPECT_EQ(f.VScroll1.Value(), 60);
    EXPECT_EQ(f.Label7.caption, "40");
    EXPECT_EQ(s.sim.mixer.OpenHandles(), 1);
}

TEST(VolumeSliderNotices, DeviceLostWhileOpenIsNoticed) {
    SimApp s;
    Form1& f = s.Start().form1;
    s.SendMixerNoticesToForm1();
    f.VScroll1.SetValue(30);
    s.Advance(kTick);
    ASSERT_EQ(f.Label7.caption, "70");

    // The system tells of the change.
    s.sim.mixer.LoseDevice();
    s.windows->volume.OnDeviceChange();
    s.Advance(kTick);
    EXPECT_EQ(f.Label7.caption, VolumeSlider::kNoLevel);
    EXPECT_EQ(f.VScroll1.Value(), 30);
    EXPECT_EQ(s.sim.mixer.OpenHandles(), 0);

    s.sim.mixer.devices.emplace_back();
    s.Advance(kTick);
    EXPECT_EQ(f.Label7.caption, "100");
    EXPECT_EQ(s.sim.mixer.OpenHandles(), 1);

    // It does not: the check finds the dead handle.
    s.sim.mixer.LoseDevice();
    s.Advance(MixerMasterVolume::kPollsPerCheck * kTick);
    EXPECT_EQ(f.Label7.caption, VolumeSlider::kNoLevel);
    EXPECT_EQ(f.VScroll1.Value(), 0);
    EXPECT_EQ(s.sim.mixer.OpenHandles(), 0);
    EXPECT_EQ(s.sim.memory.outstanding, 0);
}

} // namespace
} // namespace lumatone
