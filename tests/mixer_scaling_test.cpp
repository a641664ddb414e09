#include "audio/volumecontrol.h"
#include "platform/sim/sim_memory.h"
#include "platform/sim/sim_mixer.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lumatone {
namespace {

struct Fixture {
    SimMixer mixer;
    SimMemory memory;
    VolumeControl volume{mixer, memory};

    std::optional<std::int32_t> ReadOnce() {
        volume.OpenMixer(0);
        auto level = volume.ReadVolume(0);
        volume.CloseMixer();
        return level;
    }
};

TEST(MixerScaling, UsualRangeWritesAndReadsTheKnownValues) {
    Fixture f;
    for (auto [percent, raw] :
         {std::pair{50, 32768u}, {30, 19660u}, {1, 655u}, {100, 65535u}, {0, 0u}}) {
        SCOPED_TRACE(percent);
        ASSERT_TRUE(f.volume.SetVolume(percent));
        EXPECT_EQ(f.mixer.Level(), raw);
    }
    for (auto [raw, percent] : {std::pair{30000u, 46}, {32767u, 50}, {327u, 0}, {328u, 1}}) {
        SCOPED_TRACE(raw);
        f.mixer.SetLevelOutside(raw);
        EXPECT_EQ(f.ReadOnce(), percent);
    }
}

TEST(MixerScaling, HundredStepRangeReadsAndWritesRawValues) {
    Fixture f;
    f.mixer.SetRange(0, 100, 0);
    for (std::uint32_t raw : {0u, 1u, 37u, 50u, 99u, 100u}) {
        SCOPED_TRACE(raw);
        f.mixer.SetLevelOutside(raw);
        EXPECT_EQ(f.ReadOnce(), static_cast<std::int32_t>(raw));
        ASSERT_TRUE(f.volume.SetVolume(static_cast<std::int32_t>(raw)));
        EXPECT_EQ(f.mixer.writes.back(), raw);
    }
}

TEST(MixerScaling, PercentageOutsideZeroToHundredTouchesNothing) {
    Fixture f;
    for (std::int32_t p : {-1, 101, -2147483647 - 1, 2147483647}) {
        SCOPED_TRACE(p);
        EXPECT_FALSE(f.volume.SetVolume(p));
    }
    EXPECT_EQ(f.mixer.opens, 0u);
    EXPECT_EQ(f.mixer.setCalls, 0u);
    EXPECT_EQ(f.memory.allocations, 0u);
}

// Every percentage written reads back as itself when the range has 100 steps
// or more; with fewer, what is read back writes the same raw value again.
TEST(MixerScaling, RoundTripIsStableOverEveryRange) {
    struct Range {
        std::uint32_t minimum, maximum;
    };
    for (Range r :
         {Range{0, 65535}, Range{0, 100}, Range{0, 1}, Range{0, 7}, Range{0, 99},
          Range{1000, 11000}, Range{64, 127}, Range{0, 0xFFFFFFFF}, Range{0x80000000, 0xFFFFFFFF},
          Range{0xFFFFFF00, 0xFFFFFFFF}, Range{0, 0x7FFFFFFF}}) {
        SCOPED_TRACE(::testing::Message() << r.minimum << ".." << r.maximum);
        Fixture f;
        f.mixer.SetRange(r.minimum, r.maximum, r.minimum);
        const std::uint64_t span = std::uint64_t{r.maximum} - r.minimum;
        for (std::int32_t p = 0; p <= 100; ++p) {
            SCOPED_TRACE(p);
            ASSERT_TRUE(f.volume.SetVolume(p));
            const std::uint32_t raw = f.mixer.Level();
            ASSERT_GE(raw, r.minimum);
            ASSERT_LE(raw, r.maximum);
            const auto read = f.ReadOnce();
            ASSERT_TRUE(read.has_value());
            if (span >= 100) {
                ASSERT_EQ(*read, p);
            } else {
                // Off by at most half a step of the control, plus the rounding.
                ASSERT_LE(std::abs(*read - p) * 2 * static_cast<std::int64_t>(span),
                          100 + static_cast<std::int64_t>(span));
            }
            // A fixed point: once read and written back, the value stays put.
            for (int poll = 0; poll < 2; ++poll) {
                ASSERT_TRUE(f.volume.SetVolume(*f.ReadOnce()));
                ASSERT_EQ(f.mixer.Level(), raw);
            }
        }
        EXPECT_EQ(f.mixer.Level(), r.maximum) << "100 % is the top of the range";
    }
}

} // namespace
} // namespace lumatone
