#include "audio/volumecontrol.h"
#include "platform/sim/sim_memory.h"
#include "platform/sim/sim_mixer.h"

#include <gtest/gtest.h>

#include <functional>

namespace lumatone {
namespace {

using Op = SimMixer::Op;

struct Fixture {
    SimMixer mixer;
    SimMemory memory;
    VolumeControl volume{mixer, memory};

    void ExpectNothingHeld() {
        EXPECT_EQ(mixer.OpenHandles(), 0);
        EXPECT_EQ(memory.outstanding, 0);
    }
};

TEST(MixerAccess, SetVolumeFailuresReleaseEverythingAndWriteNothing) {
    struct Case {
        const char* name;
        std::function<void(Fixture&)> arrange;
    };
    const Case cases[] = {
        {"open", [](Fixture& f) { f.mixer.FailNext(Op::Open); }},
        {"line", [](Fixture& f) { f.mixer.FailNext(Op::GetLineInfo); }},
        {"no speakers", [](Fixture& f) { f.mixer.Main().hasSpeakers = false; }},
        {"control", [](Fixture& f) { f.mixer.FailNext(Op::GetLineControls); }},
        {"no volume control", [](Fixture& f) { f.mixer.Main().hasVolume = false; }},
        {"set", [](Fixture& f) { f.mixer.FailNext(Op::SetControlDetails); }},
        {"memory", [](Fixture& f) { f.memory.failAllocations = true; }},
        {"no device", [](Fixture& f) { f.mixer.devices.clear(); }},
        {"empty range", [](Fixture& f) { f.mixer.Main().maximum = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.mixer.SetLevelOutside(1234);
        c.arrange(f);
        EXPECT_FALSE(f.volume.SetVolume(60));
        f.ExpectNothingHeld();
        EXPECT_TRUE(f.mixer.writes.empty());
        if (!f.mixer.devices.empty()) {
            EXPECT_EQ(f.mixer.Level(), 1234u);
        }
        EXPECT_EQ(f.volume.OpenHandle(), 0u) << "SetVolume keeps to its own handle";
    }
}

TEST(MixerAccess, ReadsNothingWithoutAMixerEvenWithAnOldRecord) {
    Fixture f;
    f.mixer.SetLevelOutside(0);
    ASSERT_TRUE(f.volume.OpenMixer(0));
    EXPECT_EQ(f.volume.ReadVolume(0), 0);
    f.volume.CloseMixer();
    const MixerControl old = f.volume.VolumeControls()[0];
    ASSERT_EQ(old.lMaximum, 65535);

    f.mixer.devices.clear();
    EXPECT_FALSE(f.volume.OpenMixer(0));
    EXPECT_EQ(f.volume.VolumeControls()[0].lMaximum, old.lMaximum);
    EXPECT_FALSE(f.volume.ReadVolume(0).has_value());
    f.volume.CloseMixer();
    EXPECT_EQ(f.mixer.getCalls, 1u) << "nothing read on a handle that is not open";
    f.ExpectNothingHeld();
}

TEST(MixerAccess, OpenWithoutAVolumeControlReadsNothing) {
    for (Op op : {Op::GetLineInfo, Op::GetLineControls}) {
        SCOPED_TRACE(static_cast<int>(op));
        Fixture f;
        ASSERT_TRUE(f.volume.OpenMixer(0));
        f.volume.CloseMixer();

        // The stale record in slot 0 would still name a readable control.
        f.mixer.FailNext(op);
        EXPECT_TRUE(f.volume.OpenMixer(0));
        EXPECT_FALSE(f.volume.ReadVolume(0).has_value());
        f.volume.CloseMixer();
        EXPECT_EQ(f.mixer.getCalls, 0u);
        f.ExpectNothingHeld();
    }
}

TEST(MixerAccess, FailedReadOrLostDeviceWhileOpenReadsNothing) {
    Fixture f;
    ASSERT_TRUE(f.volume.OpenMixer(0));
    f.mixer.FailNext(Op::GetControlDetails);
    EXPECT_FALSE(f.volume.ReadVolume(0).has_value());
    EXPECT_EQ(f.volume.ReadVolume(0), 100) << "only the one call failed";

    f.mixer.LoseDevice();
    EXPECT_FALSE(f.volume.ReadVolume(0).has_value());
    EXPECT_FALSE(f.volume.SetVolume(10));
    EXPECT_EQ(f.volume.CloseMixer(), kMmSysErrNoError) << "a dead handle still closes";
    EXPECT_EQ(f.volume.OpenHandle(), 0u);
    f.ExpectNothingHeld();
    EXPECT_FALSE(f.volume.OpenMixer(0));
}

TEST(MixerAccess, SlotsAndDevicesOutsideTheirRangesReadNothing) {
    Fixture f;
    f.mixer.devices.resize(2);
    for (std::int32_t device : {-1, 2, 1000}) {
        SCOPED_TRACE(device);
        EXPECT_FALSE(f.volume.OpenMixer(device));
    }
    EXPECT_EQ(f.mixer.opens, 0u);

    ASSERT_TRUE(f.volume.OpenMixer(1));
    for (std::int32_t slot : {-1, 1, 20, 21, 1 << 30}) {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(f.volume.ReadVolume(slot).has_value());
    }
    EXPECT_EQ(f.mixer.getCalls, 0u);
    f.volume.CloseMixer();
    f.ExpectNothingHeld();
}

TEST(MixerAccess, EveryPathGivesBackHandlesAndBuffers) {
    Fixture f;
    // Reopening without a close, closing twice, and a write nested inside an
    // open read, as a poll that moves the slider does.
    for (int i = 0; i < 50; ++i) {
        f.volume.OpenMixer(0);
        f.volume.OpenMixer(0);
        ASSERT_TRUE(f.volume.SetVolume(i));
        ASSERT_EQ(f.volume.ReadVolume(0), i);
        f.volume.CloseMixer();
        f.volume.CloseMixer();
        ASSERT_EQ(f.mixer.OpenHandles(), 0);
    }
    EXPECT_EQ(f.mixer.opens, f.mixer.closes);
    f.ExpectNothingHeld();
}

} // namespace
} // namespace lumatone
