#include "display/gamma.h"
#include "display/screen_gamma_output.h"
#include "platform/sim/sim_screen.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumatone {

std::int16_t LowWord(std::int32_t n); // the ramp's store, kept out of the header

namespace {

GammaRamp RampFor(std::int16_t position) {
    GammaRamp r;
    BuildGammaRamp(GammaForPosition(position), r);
    return r;
}

TEST(GammaRamp, KnownEntriesAtNotablePositions) {
    struct Case {
        std::int16_t position;
        std::uint16_t at0, at127, at255;
    };
    for (const Case& c : {Case{0, 1, 4107, 65525}, Case{27, 49, 26639, 65532},
                          Case{30, 258, 32789, 65533}, Case{37, 12438, 53242, 65535}}) {
        SCOPED_TRACE(c.position);
        const GammaRamp r = RampFor(c.position);
        EXPECT_EQ(r[0], c.at0);
        EXPECT_EQ(r[127], c.at127);
        EXPECT_EQ(r[255], c.at255);
    }
}

TEST(GammaRamp, ChannelsEqualAndEntriesNeverDecrease) {
    for (std::int16_t p = 0; p <= 37; ++p) {
        SCOPED_TRACE(p);
        const GammaRamp r = RampFor(p);
        for (int i = 0; i < 256; ++i) {
            ASSERT_EQ(r[static_cast<std::size_t>(i) + 256], r[static_cast<std::size_t>(i)]);
            ASSERT_EQ(r[static_cast<std::size_t>(i) + 512], r[static_cast<std::size_t>(i)]);
            ASSERT_NE(r[static_cast<std::size_t>(i)], 0);
            if (i > 0) {
                if (p >= 18)
                    ASSERT_GT(r[static_cast<std::size_t>(i)], r[static_cast<std::size_t>(i) - 1]);
                else
                    ASSERT_GE(r[static_cast<std::size_t>(i)], r[static_cast<std::size_t>(i) - 1]);
            }
        }
    }
    const GammaRamp darkest = RampFor(0);
    for (int i = 0; i <= 14; ++i)
        EXPECT_EQ(darkest[static_cast<std::size_t>(i)], 1);
}

TEST(GammaRamp, ExponentsAndLowWord) {
    EXPECT_DOUBLE_EQ(GammaForPosition(27), 13 / 10.01);
    EXPECT_DOUBLE_EQ(GammaForPosition(0), 40 / 10.01);
    EXPECT_EQ(LowWord(65535), -1);
    EXPECT_EQ(LowWord(0x12345), 0x2345);
    EXPECT_EQ(LowWord(-1), -1);
}

TEST(GammaRamp, StaysWithinSixteenBitsForAnyExponent) {
    // Near 0 the top entries round up to 65536, which would wrap to black.
    GammaRamp ramp{};
    BuildGammaRamp(1e-9, ramp);
    EXPECT_TRUE(std::is_sorted(ramp.begin(), ramp.begin() + 256));
    EXPECT_EQ(ramp[255], 65535);
    for (double exponent : {0.0, -3.0, -1e6}) {
        BuildGammaRamp(exponent, ramp);
        EXPECT_EQ(std::count(ramp.begin(), ramp.end(), 65535), 768) << exponent;
    }
}

TEST(SetGamma, RefusesExponentsThatWouldWrapAndWritesNothing) {
    SimScreen screen;
    ScreenGammaOutput output{screen};
    EXPECT_FALSE(SetGamma(output, 0.0));
    EXPECT_FALSE(SetGamma(output, -0.5));
    EXPECT_FALSE(SetGamma(output, std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(SetGamma(output, std::nan("")));
    EXPECT_TRUE(screen.rampWrites.empty());
    EXPECT_EQ(screen.contextsObtained, 0u);
}

TEST(SetGamma, GivesBackEveryContextEvenWhenRefused) {
    SimScreen screen;
    ScreenGammaOutput output{screen};
    for (int i = 0; i < 5000; ++i)
        SetGamma(output, GammaForPosition(static_cast<std::int16_t>(i % 38)));
    screen.refuseRamps = true;
    EXPECT_FALSE(SetGamma(output, 1.0));
    EXPECT_EQ(screen.contextsObtained, 5001u);
    EXPECT_EQ(screen.contextsOutstanding, 0);

    screen.refuseRamps = false;
    screen.failGetDC = true;
    EXPECT_FALSE(SetGamma(output, 1.0));
    EXPECT_EQ(screen.contextsOutstanding, 0);
}

TEST(GammaSlider, ChangeWritesRampAndReadoutResetGoesTo27Once) {
    testing::SimApp s;
    App& app = s.Start();
    auto& screen = s.sim.screen;
    const auto before = screen.rampWrites.size();

    app.form1.HScroll1.SetValue(12);
    app.form1.HScroll1.SetValue(13);
    EXPECT_EQ(app.form1.Label1.caption, "13");
    ASSERT_EQ(screen.rampWrites.size(), before + 2);
    EXPECT_EQ(screen.rampWrites.back(), RampFor(13));

    app.form1.Command3.Click();
    EXPECT_EQ(app.form1.HScroll1.Value(), 27);
    EXPECT_EQ(screen.ramp, RampFor(27));
    const auto afterReset = screen.rampWrites.size();
    app.form1.Label1.caption = "untouched";
    app.form1.Command3.Click(); // already at 27: no event, no write
    EXPECT_EQ(screen.rampWrites.size(), afterReset);
    EXPECT_EQ(app.form1.Label1.caption, "untouched");
}

TEST(GammaSlider, RefusedRampStillShowsRequestedPosition) {
    testing::SimApp s;
    App& app = s.Start();
    s.sim.screen.refuseRamps = true;
    app.form1.HScroll1.SetValue(5);
    EXPECT_EQ(app.form1.Label1.caption, "5");
    EXPECT_EQ(app.form1.HScroll1.Value(), 5);
    EXPECT_EQ(s.sim.screen.contextsOutstanding, 0);
}

} // namespace
} // namespace lumatone
