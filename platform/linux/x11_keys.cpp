#include "platform/linux/x11_keys.h"

#include <array>
#include <cstddef>

namespace lumatone {
namespace {

struct KeyPair {
    std::int32_t virtualKey;
    std::uint32_t keysym;
    // False for a keysym that names the key only in one shift or lock state;
    // it translates a key event but is not used to read key state.
    bool physical;
};

constexpr std::int32_t kShift = 0x10, kControl = 0x11, kMenu = 0x12;

// Keysym values as <X11/keysymdef.h> defines them. Generic entries come
// before sided ones: the first match wins when translating a keysym.
constexpr KeyPair kNamed[] = {
    {0x08, 0xff08, true},  // BackSpace
    {0x09, 0xff09, true},  // Tab
    {0x09, 0xfe20, false}, // ISO_Left_Tab (Shift+Tab)
    {0x0c, 0xff0b, true},  // Clear
    {0x0c, 0xff9d, false}, // KP_Begin (keypad 5 without NumLock)
    {0x0d, 0xff0d, true},  // Return
    {0x0d, 0xff8d, true},  // KP_Enter
    {kShift, 0xffe1, true},   {kShift, 0xffe2, true}, {kControl, 0xffe3, true},
    {kControl, 0xffe4, true}, {kMenu, 0xffe9, true}, // Alt_L
    {kMenu, 0xffea, true},                           // Alt_R
    {kMenu, 0xfe03, true},  // ISO_Level3_Shift, the right Alt key of many layouts
    {kMenu, 0xffe7, false}, // Meta_L, Shift+Alt on some layouts
    {kMenu, 0xffe8, false}, // Meta_R
    {0x13, 0xff13, true},   // Pause
    {0x03, 0xff6b, false},  // Break (Ctrl+Pause): VK_CANCEL
    {0x14, 0xffe5, true},   // Caps_Lock
    {0x1b, 0xff1b, true},   // Escape
    {0x20, 0x0020, true},   // space
    {0x21, 0xff55, true},   // Prior
    {0x22, 0xff56, true},   // Next
    {0x23, 0xff57, true},   // End
    {0x24, 0xff50, true},   // Home
    {0x25, 0xff51, true},   // Left
    {0x26, 0xff52, true},   // Up
    {0x27, 0xff53, true},   // Right
    {0x28, 0xff54, true},   // Down
    {0x21, 0xff9a, false},  // KP_Prior ... KP_Delete: the keypad without NumLock
    {0x22, 0xff9b, false},    {0x23, 0xff9c, false},  {0x24, 0xff95, false},
    {0x25, 0xff96, false},    {0x26, 0xff97, false},  {0x27, 0xff98, false},
    {0x28, 0xff99, false},    {0x2d, 0xff9e, false},  {0x2e, 0xff9f, false},
    {0x29, 0xff60, true},  // Select
    {0x2b, 0xff62, true},  // Execute
    {0x2c, 0xff61, true},  // Print: VK_SNAPSHOT
    {0x2c, 0xff15, false}, // Sys_Req (Alt+Print)
    {0x2d, 0xff63, true},  // Insert
    {0x2e, 0xffff, true},  // Delete
    {0x2f, 0xff6a, true},  // Help
    {0x5b, 0xffeb, true},  // Super_L: VK_LWIN
    {0x5c, 0xffec, true},  // Super_R: VK_RWIN
    {0x5d, 0xff67, true},  // Menu: VK_APPS
    {0x6a, 0xffaa, true},  // KP_Multiply
    {0x6b, 0xffab, true},  // KP_Add
    {0x6c, 0xffac, true},  // KP_Separator
    {0x6d, 0xffad, true},  // KP_Subtract
    {0x6e, 0xffae, true},  // KP_Decimal
    {0x6f, 0xffaf, true},  // KP_Divide
    {0x90, 0xff7f, true},  // Num_Lock
    {0x91, 0xff14, true},  // Scroll_Lock
    {0xa0, 0xffe1, true},  // VK_LSHIFT ... VK_RMENU
    {0xa1, 0xffe2, true},     {0xa2, 0xffe3, true},   {0xa3, 0xffe4, true},
    {0xa4, 0xffe9, true},     {0xa5, 0xffea, true},   {0xa5, 0xfe03, true},
    {0xa4, 0xffe7, false},    {0xa5, 0xffe8, false},
};

// The US layout's punctuation on its OEM codes and the shifted digits: the
// key, its unshifted keysym (0 when a range gives it) and its shifted one.
struct UsKey {
    std::int32_t virtualKey;
    char plain;
    char shifted;
};

constexpr UsKey kUsKeys[] = {
    {0xba, ';', ':'},  {0xbb, '=', '+'}, {0xbc, ',', '<'}, {0xbd, '-', '_'},  {0xbe, '.', '>'},
    {0xbf, '/', '?'},  {0xc0, '`', '~'}, {0xdb, '[', '{'}, {0xdc, '\\', '|'}, {0xdd, ']', '}'},
    {0xde, '\'', '"'}, {'1', 0, '!'},    {'2', 0, '@'},    {'3', 0, '#'},     {'4', 0, '$'},
    {'5', 0, '%'},     {'6', 0, '^'},    {'7', 0, '&'},    {'8', 0, '*'},     {'9', 0, '('},
    {'0', 0, ')'}};

// The ranges that follow one another in both numberings.
struct KeyRange {
    std::int32_t firstKey;
    std::uint32_t firstKeysym;
    std::int32_t count;
    bool physical;
};

constexpr KeyRange kRanges[] = {
    {'0', '0', 10, true},     // digits
    {'A', 'a', 26, true},     // letters, by their lower-case keysyms
    {'A', 'A', 26, false},    // and by their upper-case ones
    {0x60, 0xffb0, 10, true}, // KP_0 ... KP_9: VK_NUMPAD0 ...
    {0x70, 0xffbe, 24, true}, // F1 ... F24
};

} // namespace

std::int32_t VirtualKeyForKeysym(std::uint32_t keysym) {
    for (const KeyPair& pair : kNamed)
        if (pair.keysym == keysym)
            return pair.virtualKey;
    for (const UsKey& key : kUsKeys)
        if (keysym == static_cast<std::uint32_t>(key.shifted) ||
            (key.plain != 0 && keysym == static_cast<std::uint32_t>(key.plain)))
            return key.virtualKey;
    for (const KeyRange& range : kRanges)
        if (keysym >= range.firstKeysym &&
            keysym - range.firstKeysym < static_cast<std::uint32_t>(range.count))
            return range.firstKey + static_cast<std::int32_t>(keysym - range.firstKeysym);
    return 0;
}

std::vector<std::uint32_t> KeysymsForVirtualKey(std::int32_t virtualKey) {
    std::vector<std::uint32_t> keysyms;
    for (const KeyPair& pair : kNamed)
        if (pair.physical && pair.virtualKey == virtualKey)
            keysyms.push_back(pair.keysym);
    for (const UsKey& key : kUsKeys)
        if (key.plain != 0 && key.virtualKey == virtualKey)
            keysyms.push_back(static_cast<std::uint32_t>(key.plain));
    for (const KeyRange& range : kRanges)
        if (range.physical && virtualKey >= range.firstKey &&
            virtualKey - range.firstKey < range.count)
            keysyms.push_back(range.firstKeysym +
                              static_cast<std::uint32_t>(virtualKey - range.firstKey));
    return keysyms;
}

} // namespace lumatone
