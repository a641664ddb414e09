#include "platform/linux/x11_keys.h"

#include "linux/linux_support.h"

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace lumatone {
namespace {

std::vector<int> Codes(std::int32_t virtualKey) {
    const Keycodes& codes = KeycodesForVirtualKey(virtualKey);
    return {codes.begin(), codes.end()};
}

// The edges of the table, and a code with no key.
TEST(X11Keys, TranslatesBothWays) {
    EXPECT_EQ(VirtualKeyForKeycode(0), 0);
    EXPECT_EQ(VirtualKeyForKeycode(255), 0);
    EXPECT_EQ(VirtualKeyForKeycode(256 + 38), 0);
    EXPECT_TRUE(Codes(0x07).empty());
    EXPECT_TRUE(Codes(-1).empty());
    EXPECT_TRUE(Codes(256).empty());
    // Capture names a sided modifier generically; reading keeps the sides apart.
    EXPECT_EQ(Codes(0x10).size(), 2u);
    EXPECT_EQ(Codes(0xa0).size(), 1u);
}

// Every place against the X server's own name for it (<AE01> is the first key
// of the digit row, <LSGT> the ISO key beside the left shift): each is the key
// a US keyboard has there, both ways, so a key bound is the key polled.
TEST(DesktopKeys, EveryPlaceIsTheKeyAUsKeyboardHasThere) {
    // The keycodes of every X server that reads its keys through evdev or
    // libinput; a server without input devices starts with older ones.
    ASSERT_TRUE(linux_test::Succeeds("setxkbmap -rules evdev -model pc105 -layout us"));
    Display* display = ::XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XkbDescPtr keyboard = ::XkbGetMap(display, 0, XkbUseCoreKbd);
    ASSERT_NE(keyboard, nullptr);
    ASSERT_EQ(::XkbGetNames(display, XkbKeyNamesMask, keyboard), Success);
    std::map<std::string, int> places;
    for (int code = keyboard->min_key_code; code <= keyboard->max_key_code; ++code) {
        const char* name = keyboard->names->keys[code].name;
        places.emplace(std::string(name, strnlen(name, XkbKeyNameLength)), code);
    }
    ::XkbFreeKeyboard(keyboard, 0, True);
    ::XCloseDisplay(display);

    std::map<std::string, int> expected = {
        {"TLDE", 0xc0}, {"BKSL", 0xdc}, {"LSGT", 0xe2}, {"ESC", 0x1b},  {"BKSP", 0x08},
        {"TAB", 0x09},  {"RTRN", 0x0d}, {"SPCE", 0x20}, {"CAPS", 0x14}, {"LFSH", 0x10},
        {"RTSH", 0x10}, {"LCTL", 0x11}, {"RCTL", 0x11}, {"LALT", 0x12}, {"RALT", 0x12},
        {"LWIN", 0x5b}, {"RWIN", 0x5c}, {"COMP", 0x5d}, {"PRSC", 0x2c}, {"SCLK", 0x91},
        {"PAUS", 0x13}, {"INS", 0x2d},  {"HOME", 0x24}, {"PGUP", 0x21}, {"DELE", 0x2e},
        {"END", 0x23},  {"PGDN", 0x22}, {"UP", 0x26},   {"LEFT", 0x25}, {"DOWN", 0x28},
        {"RGHT", 0x27}, {"NMLK", 0x90}, {"KPDV", 0x6f}, {"KPMU", 0x6a}, {"KPSU", 0x6d},
        {"KPAD", 0x6b}, {"KPEN", 0x0d}, {"KPDL", 0x6e}, {"MUTE", 0xad}, {"VOL-", 0xae},
        {"VOL+", 0xaf}};
    const std::pair<const char*, std::vector<int>> rows[] = {
        {"AE", {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0xbd, 0xbb}},
        {"AD", {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 0xdb, 0xdd}},
        {"AC", {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 0xba, 0xde}},
        {"AB", {'Z', 'X', 'C', 'V', 'B', 'N', 'M', 0xbc, 0xbe, 0xbf}},
        {"FK", {0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x7b}}};
    for (const auto& [row, keys] : rows)
        for (std::size_t i = 0; i < keys.size(); ++i)
            expected[row + std::string(i < 9 ? "0" : "") + std::to_string(i + 1)] = keys[i];
    for (int digit = 0; digit < 10; ++digit)
        expected["KP" + std::to_string(digit)] = 0x60 + digit;

    for (const auto& [name, virtualKey] : expected) {
        SCOPED_TRACE(name);
        const auto place = places.find(name);
        ASSERT_NE(place, places.end());
        EXPECT_EQ(VirtualKeyForKeycode(static_cast<std::uint32_t>(place->second)), virtualKey);
        const std::vector<int> codes = Codes(virtualKey);
        EXPECT_NE(std::find(codes.begin(), codes.end(), place->second), codes.end());
    }
    // The sided codes read one side only.
    EXPECT_EQ(Codes(0xa0), std::vector<int>{places["LFSH"]});
    EXPECT_EQ(Codes(0xa5), std::vector<int>{places["RALT"]});
}

} // namespace
} // namespace lumatone
