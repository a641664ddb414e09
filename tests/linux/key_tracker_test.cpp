#include "platform/linux/key_tracker.h"

#include <gtest/gtest.h>

namespace lumatone {
namespace {

constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
constexpr std::int64_t kTick = 50'000'000;
// The evdev keycodes of A and the left shift.
constexpr std::uint8_t kA = 38, kShiftL = 50;

// The server's state, with a count of the times it was asked.
class FakeServer : public KeyTracker::Server {
  public:
    void ReadKeymap(std::array<std::uint8_t, 32>& keymap) override {
        ++reads;
        keymap = this->keymap;
    }
    unsigned ReadButtons() override {
        ++reads;
        return buttons;
    }
    void Hold(std::uint8_t code, bool down) {
        keymap[code / 8U] =
            static_cast<std::uint8_t>(down ? keymap[code / 8U] | (1U << (code % 8U))
                                           : keymap[code / 8U] & ~(1U << (code % 8U)));
    }
    std::array<std::uint8_t, 32> keymap{};
    unsigned buttons = 0;
    int reads = 0;
};

class Tracker : public ::testing::Test {
  protected:
    // One poll at tick n asking for the key.
    std::int16_t Poll(std::int64_t n, std::int32_t virtualKey) {
        tracker.Look(n * kTick);
        return tracker.State(virtualKey, server);
    }
    FakeServer server;
    KeyTracker tracker{true};
};

TEST_F(Tracker, AsksTheServerOnlyAfterAnEventALossOrASecond) {
    // Held since before the start: the first poll asks, and sees it.
    server.Hold(kA, true);
    EXPECT_EQ(Poll(0, 'A'), kDown);
    EXPECT_EQ(Poll(1, 'A'), kDown);
    EXPECT_EQ(server.reads, 1);

    // Released and pressed again between two polls: down, and pressed since.
    tracker.Key(kA, false);
    tracker.Key(kA, true);
    EXPECT_EQ(Poll(2, 'A'), kDown | 1);
    EXPECT_EQ(server.reads, 2);

    // A change the events missed shows only once a loss is reported...
    server.Hold(kA, false);
    EXPECT_EQ(Poll(3, 'A'), kDown);
    tracker.Lost();
    EXPECT_EQ(Poll(4, 'A'), 0);
    EXPECT_EQ(server.reads, 3);
    // ...or at the check a second after the last look.
    server.Hold(kA, true);
    EXPECT_EQ(Poll(23, 'A'), 0);
    EXPECT_EQ(Poll(24, 'A'), kDown);
    EXPECT_EQ(server.reads, 4);

    // A tap wholly between polls: pressed since, not down; both shift codes
    // count the left shift's press.
    server.Hold(kA, false);
    tracker.Key(kA, true);
    tracker.Key(kA, false);
    tracker.Key(kShiftL, true);
    tracker.Key(kShiftL, false);
    EXPECT_EQ(Poll(25, 'A'), 1);
    EXPECT_EQ(Poll(25, 0x10), 1);
    EXPECT_EQ(Poll(25, 0xa0), 1);
    EXPECT_EQ(Poll(25, 0xa1), 0);
    EXPECT_EQ(Poll(26, 'A'), 0);
}

TEST_F(Tracker, ScreenSaverHidesEveryKeyAndWhatWasPressedMeanwhile) {
    server.Hold(kA, true);
    tracker.Key(kA, true);
    tracker.ScreenSaver(true);
    EXPECT_EQ(Poll(0, 'A'), 0);
    tracker.Key(kA, false);
    tracker.Key(kA, true);
    tracker.Button(1, true);
    EXPECT_EQ(Poll(1, 'A'), 0);
    tracker.ScreenSaver(false);
    EXPECT_EQ(Poll(2, 'A'), kDown);
    EXPECT_EQ(Poll(2, 1), 0);
}

// A missed release would repeat a held hotkey: the check stays at a second
// while a key or button reads as down, and only with all up waits longer.
TEST(TrackerWithALongerCheckWhileAllIsUp, ChecksEverySecondWhileAnythingIsDown) {
    FakeServer server;
    KeyTracker tracker(true, 200 * kTick);
    const auto poll = [&](std::int64_t n, std::int32_t virtualKey) {
        tracker.Look(n * kTick);
        return tracker.State(virtualKey, server);
    };
    server.Hold(kA, true);
    server.buttons = 1U << 10; // Button3Mask: the right button
    EXPECT_EQ(poll(0, 'A'), kDown);
    EXPECT_EQ(poll(0, 2), kDown);
    server.Hold(kA, false);
    server.buttons = 0;
    EXPECT_EQ(poll(19, 'A'), kDown);
    EXPECT_EQ(poll(19, 2), kDown);
    EXPECT_EQ(poll(20, 'A'), 0);
    EXPECT_EQ(poll(20, 2), 0);
    EXPECT_EQ(server.reads, 4);

    server.Hold(kA, true);
    EXPECT_EQ(poll(219, 'A'), 0);
    EXPECT_EQ(server.reads, 4);
    EXPECT_EQ(poll(220, 'A'), kDown);
    EXPECT_EQ(server.reads, 5);
}

TEST(TrackerWithoutEvents, AsksTheServerAtEveryPoll) {
    FakeServer server;
    KeyTracker tracker(false);
    server.buttons = 1U << 10; // Button3Mask: the right button
    for (std::int64_t n = 0; n < 3; ++n) {
        tracker.Look(n * kTick);
        EXPECT_EQ(tracker.State(2, server), kDown);
        EXPECT_EQ(tracker.State(4, server), 0);
    }
    EXPECT_EQ(server.reads, 3);
}

} // namespace
} // namespace lumatone
