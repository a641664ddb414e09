#include "platform/linux/x11_keys.h"

#include <linux/input-event-codes.h>

namespace lumatone {
namespace {

struct KeyPlace {
    std::uint16_t inputCode; // KEY_*
    std::uint8_t virtualKey; // the left and right modifiers by their sided codes
};

constexpr std::uint8_t kLShift = 0xa0, kRShift = 0xa1, kLControl = 0xa2, kRControl = 0xa3,
                       kLMenu = 0xa4, kRMenu = 0xa5;

// Windows' own codes for the keys of a US keyboard; the keypad by its digits
// and the media keys by their VK_VOLUME_* and VK_MEDIA_* codes.
constexpr KeyPlace kPlaces[] = {
    {KEY_ESC, 0x1b},
    {KEY_1, '1'},
    {KEY_2, '2'},
    {KEY_3, '3'},
    {KEY_4, '4'},
    {KEY_5, '5'},
    {KEY_6, '6'},
    {KEY_7, '7'},
    {KEY_8, '8'},
    {KEY_9, '9'},
    {KEY_0, '0'},
    {KEY_MINUS, 0xbd}, // VK_OEM_MINUS
    {KEY_EQUAL, 0xbb}, // VK_OEM_PLUS
    {KEY_BACKSPACE, 0x08},
    {KEY_TAB, 0x09},
    {KEY_Q, 'Q'},
    {KEY_W, 'W'},
    {KEY_E, 'E'},
    {KEY_R, 'R'},
    {KEY_T, 'T'},
    {KEY_Y, 'Y'},
    {KEY_U, 'U'},
    {KEY_I, 'I'},
    {KEY_O, 'O'},
    {KEY_P, 'P'},
    {KEY_LEFTBRACE, 0xdb},  // VK_OEM_4
    {KEY_RIGHTBRACE, 0xdd}, // VK_OEM_6
    {KEY_ENTER, 0x0d},
    {KEY_LEFTCTRL, kLControl},
    {KEY_A, 'A'},
    {KEY_S, 'S'},
    {KEY_D, 'D'},
    {KEY_F, 'F'},
    {KEY_G, 'G'},
    {KEY_H, 'H'},
    {KEY_J, 'J'},
    {KEY_K, 'K'},
    {KEY_L, 'L'},
    {KEY_SEMICOLON, 0xba},  // VK_OEM_1
    {KEY_APOSTROPHE, 0xde}, // VK_OEM_7
    {KEY_GRAVE, 0xc0},      // VK_OEM_3
    {KEY_LEFTSHIFT, kLShift},
    {KEY_BACKSLASH, 0xdc}, // VK_OEM_5
    {KEY_Z, 'Z'},
    {KEY_X, 'X'},
    {KEY_C, 'C'},
    {KEY_V, 'V'},
    {KEY_B, 'B'},
    {KEY_N, 'N'},
    {KEY_M, 'M'},
    {KEY_COMMA, 0xbc},
    {KEY_DOT, 0xbe},   // VK_OEM_COMMA, _PERIOD
    {KEY_SLASH, 0xbf}, // VK_OEM_2
    {KEY_RIGHTSHIFT, kRShift},
    {KEY_KPASTERISK, 0x6a}, // VK_MULTIPLY
    {KEY_LEFTALT, kLMenu},
    {KEY_SPACE, 0x20},
    {KEY_CAPSLOCK, 0x14},
    {KEY_F1, 0x70},
    {KEY_F2, 0x71},
    {KEY_F3, 0x72},
    {KEY_F4, 0x73},
    {KEY_F5, 0x74},
    {KEY_F6, 0x75},
    {KEY_F7, 0x76},
    {KEY_F8, 0x77},
    {KEY_F9, 0x78},
    {KEY_F10, 0x79},
    {KEY_NUMLOCK, 0x90},
    {KEY_SCROLLLOCK, 0x91},
    {KEY_KP7, 0x67},
    {KEY_KP8, 0x68},
    {KEY_KP9, 0x69},
    {KEY_KPMINUS, 0x6d}, // VK_SUBTRACT
    {KEY_KP4, 0x64},
    {KEY_KP5, 0x65},
    {KEY_KP6, 0x66},
    {KEY_KPPLUS, 0x6b}, // VK_ADD
    {KEY_KP1, 0x61},
    {KEY_KP2, 0x62},
    {KEY_KP3, 0x63},
    {KEY_KP0, 0x60},
    {KEY_KPDOT, 0x6e}, // VK_DECIMAL
    {KEY_102ND, 0xe2}, // VK_OEM_102, the ISO key beside the left shift
    {KEY_F11, 0x7a},
    {KEY_F12, 0x7b},
    {KEY_RO, 0xc1},       // VK_ABNT_C1
    {KEY_HENKAN, 0x1c},   // VK_CONVERT
    {KEY_MUHENKAN, 0x1d}, // VK_NONCONVERT
    {KEY_KPENTER, 0x0d},
    {KEY_RIGHTCTRL, kRControl},
    {KEY_KPSLASH, 0x6f}, // VK_DIVIDE
    {KEY_SYSRQ, 0x2c},   // Print: VK_SNAPSHOT
    {KEY_RIGHTALT, kRMenu},
    {KEY_HOME, 0x24},
    {KEY_UP, 0x26},
    {KEY_PAGEUP, 0x21},
    {KEY_LEFT, 0x25},
    {KEY_RIGHT, 0x27},
    {KEY_END, 0x23},
    {KEY_DOWN, 0x28},
    {KEY_PAGEDOWN, 0x22},
    {KEY_INSERT, 0x2d},
    {KEY_DELETE, 0x2e},
    {KEY_MUTE, 0xad},
    {KEY_VOLUMEDOWN, 0xae},
    {KEY_VOLUMEUP, 0xaf},
    {KEY_PAUSE, 0x13},
    {KEY_KPCOMMA, 0x6c}, // VK_SEPARATOR
    {KEY_HANGEUL, 0x15},
    {KEY_HANJA, 0x19},
    {KEY_LEFTMETA, 0x5b},
    {KEY_RIGHTMETA, 0x5c},
    {KEY_COMPOSE, 0x5d}, // the Menu key: VK_APPS
    {KEY_STOP, 0xa9},    // VK_BROWSER_STOP
    {KEY_HELP, 0x2f},
    {KEY_CALC, 0xb7},
    {KEY_SLEEP, 0x5f},
    {KEY_MAIL, 0xb4},
    {KEY_BOOKMARKS, 0xab},
    {KEY_COMPUTER, 0xb6},
    {KEY_BACK, 0xa6},
    {KEY_FORWARD, 0xa7},
    {KEY_NEXTSONG, 0xb0},
    {KEY_PLAYPAUSE, 0xb3},
    {KEY_PREVIOUSSONG, 0xb1},
    {KEY_STOPCD, 0xb2},
    {KEY_HOMEPAGE, 0xac},
    {KEY_REFRESH, 0xa8},
    {KEY_F13, 0x7c},
    {KEY_F14, 0x7d},
    {KEY_F15, 0x7e},
    {KEY_F16, 0x7f},
    {KEY_F17, 0x80},
    {KEY_F18, 0x81},
    {KEY_F19, 0x82},
    {KEY_F20, 0x83},
    {KEY_F21, 0x84},
    {KEY_F22, 0x85},
    {KEY_F23, 0x86},
    {KEY_F24, 0x87},
    {KEY_PLAYCD, 0xb3},
    {KEY_PAUSECD, 0xb3},
    {KEY_SEARCH, 0xaa},
    {KEY_MEDIA, 0xb5},
};

constexpr std::uint32_t kEvdevOffset = 8;

// The generic code a key-down message gives a sided modifier.
constexpr std::int32_t Generic(std::int32_t virtualKey) {
    switch (virtualKey) {
    case kLShift:
    case kRShift:
        return 0x10;
    case kLControl:
    case kRControl:
        return 0x11;
    case kLMenu:
    case kRMenu:
        return 0x12;
    default:
        return virtualKey;
    }
}

constexpr std::array<std::uint8_t, 256> MakeVirtualKeys() {
    std::array<std::uint8_t, 256> keys{};
    for (const KeyPlace& place : kPlaces)
        keys[place.inputCode + kEvdevOffset] = place.virtualKey;
    return keys;
}

constexpr std::array<Keycodes, 256> MakeKeycodes() {
    std::array<Keycodes, 256> codes{};
    for (const KeyPlace& place : kPlaces) {
        const auto keycode = static_cast<std::uint8_t>(place.inputCode + kEvdevOffset);
        for (std::int32_t vk : {std::int32_t{place.virtualKey}, Generic(place.virtualKey)}) {
            Keycodes& list = codes[static_cast<std::size_t>(vk)];
            list.codes[list.count++] = keycode;
            if (vk == Generic(vk))
                break;
        }
    }
    return codes;
}

constexpr std::array<std::uint8_t, 256> kVirtualKeys = MakeVirtualKeys();
constexpr std::array<Keycodes, 256> kKeycodes = MakeKeycodes();

} // namespace

std::int32_t VirtualKeyForKeycode(std::uint32_t keycode) {
    return keycode < kVirtualKeys.size() ? Generic(kVirtualKeys[keycode]) : 0;
}

const Keycodes& KeycodesForVirtualKey(std::int32_t virtualKey) {
    static constexpr Keycodes kNone{};
    return virtualKey >= 0 && virtualKey < 256 ? kKeycodes[static_cast<std::size_t>(virtualKey)]
                                               : kNone;
}

} // namespace lumatone
