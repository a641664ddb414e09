#include "hotkeys/key_names.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumatone {
namespace {

using testing::SimApp;

TEST(KeyNames, NinetyNineDistinctNamesOnlyTheListedCodes) {
    std::set<std::string_view> names;
    int named = 0;
    for (int code = -1; code <= 300; ++code) {
        if (auto n = KeyName(code)) {
            ++named;
            names.insert(*n);
            EXPECT_TRUE(code >= 1 && code <= 144) << code;
        }
    }
    EXPECT_EQ(named, 99);
    EXPECT_EQ(names.size(), 99u);

    struct Case {
        int code;
        const char* name; // nullptr: no name
    };
    const Case cases[] = {
        {0, nullptr},
        {1, "Left mouse button"},
        {2, "Right mouse button"},
        {3, "Cancel"},
        {4, "Middle mouse button"},
        {5, nullptr},
        {7, nullptr},
        {8, "Back"},
        {9, "Tab"},
        {10, nullptr},
        {11, nullptr},
        {12, "Clear"},
        {13, "Return"},
        {14, nullptr},
        {15, nullptr},
        {16, "Shift"},
        {17, "Ctrl"},
        {18, "Alt"},
        {19, "Pause"},
        {20, "Capital"},
        {21, nullptr},
        {26, nullptr},
        {27, "Escape"},
        {28, nullptr},
        {31, nullptr},
        {32, "Space"},
        {33, "PgUp"},
        {34, "PgDn"},
        {35, "End"},
        {36, "Home"},
        {37, "Left"},
        {38, "Up"},
        {39, "Right"},
        {40, "Down"},
        {41, "Select"},
        {42, "Print"},
        {43, "Execute"},
        {44, "Snapshot"},
        {45, "Insert"},
        {46, "Delete"},
        {47, "Help"},
        {48, "0"},
        {57, "9"},
        {58, nullptr},
        {64, nullptr},
        {65, "A"},
        {77, "M"},
        {90, "Z"},
        {91, nullptr},
        {93, nullptr},
        {95, nullptr},
        {96, "Npad0"},
        {105, "Npad9"},
        {106, "Mult"},
        {107, "Add"},
        {108, "Separator"},
        {109, "Sub"},
        {110, "Decimal"},
        {111, "Div"},
        {112, "F1"},
        {113, "F2"},
        {123, "F12"},
        {127, "F16"},
        {128, nullptr},
        {135, nullptr},
        {143, nullptr},
        {144, "Numlock"},
        {145, nullptr},
        {160, nullptr},
        {165, nullptr},
        {186, nullptr},
        {192, nullptr},
        {219, nullptr},
        {222, nullptr},
        {255, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const auto got = KeyName(c.code);
        if (c.name == nullptr)
            EXPECT_FALSE(got.has_value()) << *got;
        else
            EXPECT_EQ(got.value_or("<none>"), c.name);
    }
}

TEST(KeyNames, ShortStyleDiffersOnlyForCapsLockAndEscape) {
    for (int code = 0; code <= 255; ++code) {
        SCOPED_TRACE(code);
        const auto full = KeyName(code, KeyNameStyle::Full);
        const auto shortName = KeyName(code, KeyNameStyle::Short);
        if (code == 20)
            EXPECT_EQ(shortName.value_or(""), "Caps");
        else if (code == 27)
            EXPECT_EQ(shortName.value_or(""), "Esc");
        else
            EXPECT_EQ(full, shortName);
    }
}

// Every slot of the window: the box that takes the key and the one that keeps its code.
struct SlotRow {
    const char* binding;
    const char* code;
};
constexpr SlotRow kSlots[] = {
    {"Text1", "Text12"},  {"Text2", "Text13"},  {"Text3", "Text14"},  {"Text4", "Text15"},
    {"Text11", "Text16"}, {"Text23", "Text24"}, {"Text5", "Text17"},  {"Text6", "Text18"},
    {"Text7", "Text19"},  {"Text8", "Text20"},  {"Text10", "Text21"}, {"Text22", "Text25"},
    {"Text26", "Text32"}, {"Text27", "Text33"}, {"Text28", "Text34"}, {"Text29", "Text35"},
    {"Text30", "Text36"}, {"Text31", "Text37"},
};

TextBox& Box(Form1& f, const char* name) {
    auto* box = dynamic_cast<TextBox*>(f.Find(name));
    if (box == nullptr)
        throw std::runtime_error(std::string("no text box ") + name);
    return *box;
}

std::vector<std::string> AllTexts(Form1& f) {
    std::vector<std::string> texts;
    for (const SlotRow& row : kSlots) {
        texts.push_back(Box(f, row.binding).text);
        texts.push_back(Box(f, row.code).text);
    }
    return texts;
}

TEST(HotkeyCapture, EachBindingBoxWritesOnlyItsOwnSlotWithItsOwnNames) {
    SimApp s;
    Form1& f = s.Start().form1;
    for (const SlotRow& row : kSlots) {
        SCOPED_TRACE(row.binding);
        TextBox& binding = Box(f, row.binding);
        TextBox& code = Box(f, row.code);
        const bool first = std::string(row.binding) == "Text1";

        std::vector<std::string> expected = AllTexts(f);
        binding.KeyDown(20, 0);
        EXPECT_EQ(code.text, "20");
        EXPECT_EQ(binding.text, first ? "Caps" : "Capital");
        binding.KeyDown(27, 0);
        EXPECT_EQ(code.text, "27");
        EXPECT_EQ(binding.text, first ? "Esc" : "Escape");

        // Nothing but this slot changed.
        const auto idx = static_cast<std::size_t>(&row - kSlots) * 2;
        expected[idx] = binding.text;
        expected[idx + 1] = code.text;
        EXPECT_EQ(AllTexts(f), expected);
    }
}

TEST(HotkeyCapture, LastKeyWinsUnnamedKeysBindKeepingTheOldName) {
    SimApp s;
    Form1& f = s.Start().form1;
    struct Step {
        std::int16_t key;
        int shift;
        const char* code;
        const char* name;
    };
    const Step steps[] = {
        {16, 0, "16", "Shift"}, // Shift alone
        {65, 1, "65", "A"},     // then A with Shift held: A alone, modifiers ignored
        {145, 0, "145", "A"},   // Scroll Lock has no name
        {186, 0, "186", "A"},   // nor has punctuation
        {112, 6, "112", "F1"},  // Ctrl+Alt do not matter either
        {0, 0, "112", "F1"},    // no key at all: nothing
        {-3, 0, "112", "F1"},   {256, 0, "112", "F1"},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(st.key);
        f.Text3.KeyDown(st.key, st.shift);
        EXPECT_EQ(f.Text14.text, st.code);
        EXPECT_EQ(f.Text3.text, st.name);
    }
    // Typing never reaches the box or its code.
    f.Text3.Type("x");
    f.Text14.Type("x");
    f.Text14.SetTextByUser("9");
    EXPECT_EQ(f.Text3.text, "F1");
    EXPECT_EQ(f.Text14.text, "112");
}

TEST(HotkeyCapture, UnnamedKeyCapturedIsPolled) {
    SimApp s;
    Form1& f = s.Start().form1;
    f.HScroll1.SetValue(10);
    f.Text3.KeyDown(145, 0);
    f.Text4.KeyDown(145, 0);
    s.sim.keyboard.Press(145);
    f.Timer1.Tick();
    EXPECT_EQ(f.HScroll1.Value(), 11);
}

TEST(HotkeyCapture, LockedGroupCapturesNothingOthersStillDo) {
    SimApp s;
    Form1& f = s.Start().form1;
    f.Text1.KeyDown(65, 0);
    f.Command7.Click();

    for (std::size_t i = 0; i < 6; ++i) {
        TextBox& binding = Box(f, kSlots[i].binding);
        TextBox& code = Box(f, kSlots[i].code);
        SCOPED_TRACE(binding.name);
        const std::string name = binding.text, value = code.text;
        EXPECT_FALSE(f.SetFocus(&binding));
        binding.KeyDown(66, 0);
        EXPECT_EQ(binding.text, name);
        EXPECT_EQ(code.text, value);
    }
    EXPECT_EQ(f.Text1.text, "A"); // shown greyed, not cleared

    f.Text5.KeyDown(66, 0);
    f.Text26.KeyDown(67, 0);
    EXPECT_EQ(f.Text17.text, "66");
    EXPECT_EQ(f.Text32.text, "67");
}

} // namespace
} // namespace lumatone
