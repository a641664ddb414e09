#include "platform/linux/portal_keys.h"

#include <gtest/gtest.h>

namespace lumatone {
namespace {

constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
constexpr std::int32_t kShift = 0x10, kCtrl = 0x11, kLWin = 0x5B, kRShift = 0xA1;
constexpr std::int32_t kF9 = 0x78, kF10 = 0x79, kUp = 0x26, kA = 'A', kMouseLeft = 1;

TEST(PortalKeys, PairsBecomeTriggersWhereOneIsAModifier) {
    struct Case {
        std::int32_t first, second;
        std::optional<std::string> trigger;
    };
    const Case cases[] = {
        {kCtrl, kF10, "CTRL+F10"},
        {kF10, kCtrl, "CTRL+F10"},         // the modifier in either slot
        {kRShift, kA, "SHIFT+a"},          // either side, the key unshifted
        {kLWin, kUp, "LOGO+Up"},           // keysym names
        {0xBA, kShift, "SHIFT+semicolon"}, // by its place on a US keyboard
        {kF9, kF9, "F9"},                  // one key bound twice
        {kA, kF10, std::nullopt},          // two plain keys
        {kCtrl, kShift, std::nullopt},     // two modifiers
        {kCtrl, kCtrl, std::nullopt},
        {kMouseLeft, kCtrl, std::nullopt},
        {kCtrl, 0xFF, std::nullopt}, // a key without a name
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << "+" << c.second);
        EXPECT_EQ(TriggerFor(c.first, c.second), c.trigger);
    }
    // The desktop describes a trigger its own way.
    EXPECT_TRUE(SameTrigger("CTRL+F10", "Ctrl+F10"));
    EXPECT_TRUE(SameTrigger("LOGO+a", "Super + A"));
    EXPECT_TRUE(SameTrigger("SHIFT+CTRL+a", "Ctrl+Shift+A"));
    EXPECT_FALSE(SameTrigger("CTRL+F10", "Ctrl+F1"));
    EXPECT_FALSE(SameTrigger("CTRL+F10", ""));
}

TEST(PortalKeys, AnActiveShortcutHoldsItsKeysAndATapStillFiresOnce) {
    ShortcutKeys keys;
    keys.Bind({{"brighter", "Gamma brighter", "CTRL+F10", kCtrl, kF10},
               {"darker", "Gamma darker", "SHIFT+F9", kShift, kF9}});
    keys.Activated("brighter");
    EXPECT_EQ(keys.State(kCtrl), kDown | 1);
    EXPECT_EQ(keys.State(kF10), kDown | 1);
    EXPECT_EQ(keys.State(kF10), kDown) << "pressed-since is consumed";
    EXPECT_EQ(keys.State(kF9), 0) << "the other pair's keys stay up";
    keys.Deactivated("brighter");
    EXPECT_EQ(keys.State(kCtrl), 0);

    // Activated and deactivated between two polls: pressed since, not down.
    keys.Activated("darker");
    keys.Deactivated("darker");
    EXPECT_EQ(keys.State(kShift), 1);
    EXPECT_EQ(keys.State(kF9), 1);
    EXPECT_EQ(keys.State(kF9), 0);

    // Bound afresh: what was active is forgotten, unknown ids do nothing.
    keys.Activated("brighter");
    keys.Bind({{"brighter", "Gamma brighter", "CTRL+F10", kCtrl, kF10}});
    keys.Activated("gone");
    EXPECT_EQ(keys.State(kF10) & kDown, 0);
}

} // namespace
} // namespace lumatone
