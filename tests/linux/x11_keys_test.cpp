#include "platform/linux/x11_keys.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

namespace lumatone {
namespace {

// Both directions of the table, for the keys whose mapping is not a plain range.
TEST(X11Keys, TranslatesBothWays) {
    EXPECT_EQ(VirtualKeyForKeysym(XK_a), 'A');
    EXPECT_EQ(VirtualKeyForKeysym(XK_Z), 'Z');
    EXPECT_EQ(VirtualKeyForKeysym(XK_exclam), '1');
    EXPECT_EQ(VirtualKeyForKeysym(XK_F24), 0x87);
    EXPECT_EQ(VirtualKeyForKeysym(XK_KP_9), 0x69);
    // Either shift is VK_SHIFT, as a key-down message names it.
    EXPECT_EQ(VirtualKeyForKeysym(XK_Shift_R), 0x10);
    EXPECT_EQ(VirtualKeyForKeysym(XK_Print), 0x2c);
    EXPECT_EQ(VirtualKeyForKeysym(XK_grave), 0xc0);
    EXPECT_EQ(VirtualKeyForKeysym(XK_KP_Home), 0x24);
    EXPECT_EQ(VirtualKeyForKeysym(XK_Greek_alpha), 0);

    EXPECT_EQ(KeysymsForVirtualKey(0x10), (std::vector<std::uint32_t>{XK_Shift_L, XK_Shift_R}));
    EXPECT_EQ(KeysymsForVirtualKey(0xa1), (std::vector<std::uint32_t>{XK_Shift_R}));
    EXPECT_EQ(KeysymsForVirtualKey('Q'), (std::vector<std::uint32_t>{XK_q}));
    EXPECT_EQ(KeysymsForVirtualKey(0x0d), (std::vector<std::uint32_t>{XK_Return, XK_KP_Enter}));
    // The keypad's 7 is VK_HOME only without NumLock: reading VK_HOME must not see it.
    EXPECT_EQ(KeysymsForVirtualKey(0x24), (std::vector<std::uint32_t>{XK_Home}));
    EXPECT_TRUE(KeysymsForVirtualKey(0x07).empty());
}

} // namespace
} // namespace lumatone
