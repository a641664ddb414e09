#include "hotkeys/key_names.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace lumatone {
namespace {

TEST(KeyNames, NinetyNineDistinctNamesForExactlyTheListedCodes) {
    auto listed = [](int c) {
        return (c >= 1 && c <= 4) || c == 8 || c == 9 || c == 12 || c == 13 ||
               (c >= 16 && c <= 20) || c == 27 || (c >= 32 && c <= 57) || (c >= 65 && c <= 90) ||
               (c >= 96 && c <= 127) || c == 144;
    };
    std::set<std::string_view> names;
    for (int c = -1; c <= 256; ++c) {
        SCOPED_TRACE(c);
        const auto name = KeyName(c);
        EXPECT_EQ(name.has_value(), listed(c));
        if (name)
            names.insert(*name);
        if (c != 20 && c != 27) {
            EXPECT_EQ(KeyName(c, KeyNameStyle::Short), name);
        }
    }
    EXPECT_EQ(names.size(), 99u);

    struct Case {
        int code;
        const char* name;
    };
    for (const Case& c :
         {Case{1, "Left mouse button"}, Case{3, "Cancel"}, Case{4, "Middle mouse button"},
          Case{20, "Capital"}, Case{27, "Escape"}, Case{33, "PgUp"}, Case{44, "Snapshot"},
          Case{47, "Help"}, Case{48, "0"}, Case{90, "Z"}, Case{96, "Npad0"}, Case{108, "Separator"},
          Case{111, "Div"}, Case{127, "F16"}, Case{144, "Numlock"}})
        EXPECT_EQ(KeyName(c.code).value_or(""), c.name) << c.code;
}

// Every slot: the box that takes the key and the box that keeps its code.
constexpr std::pair<const char*, const char*> kSlots[] = {
    {"Text1", "Text12"},  {"Text2", "Text13"},  {"Text3", "Text14"},  {"Text4", "Text15"},
    {"Text11", "Text16"}, {"Text23", "Text24"}, {"Text5", "Text17"},  {"Text6", "Text18"},
    {"Text7", "Text19"},  {"Text8", "Text20"},  {"Text10", "Text21"}, {"Text22", "Text25"},
    {"Text26", "Text32"}, {"Text27", "Text33"}, {"Text28", "Text34"}, {"Text29", "Text35"},
    {"Text30", "Text36"}, {"Text31", "Text37"},
};

TextBox& Box(Form1& f, const char* name) {
    return dynamic_cast<TextBox&>(*f.Find(name));
}

std::vector<std::string> AllTexts(Form1& f) {
    std::vector<std::string> texts;
    for (const auto& [binding, code] : kSlots) {
        texts.push_back(Box(f, binding).text);
        texts.push_back(Box(f, code).text);
    }
    return texts;
}

TEST(HotkeyCapture, EachBindingBoxWritesOnlyItsOwnSlotWithItsOwnNames) {
    testing::SimApp s;
    Form1& f = s.Start().form1;
    for (std::size_t i = 0; i < std::size(kSlots); ++i) {
        SCOPED_TRACE(kSlots[i].first);
        TextBox& binding = Box(f, kSlots[i].first);
        TextBox& code = Box(f, kSlots[i].second);
        const bool first = i == 0;
        std::vector<std::string> expected = AllTexts(f);

        binding.KeyDown(20, 0);
        EXPECT_EQ(code.text, "20");
        EXPECT_EQ(binding.text, first ? "Caps" : "Capital");
        binding.KeyDown(27, 0);
        EXPECT_EQ(code.text, "27");
        EXPECT_EQ(binding.text, first ? "Esc" : "Escape");

        expected[i * 2] = binding.text;
        expected[i * 2 + 1] = code.text;
        EXPECT_EQ(AllTexts(f), expected);
    }
}

TEST(HotkeyCapture, LastKeyWinsAndUnnamedKeysBindUnderTheOldName) {
    testing::SimApp s;
    Form1& f = s.Start().form1;
    struct Step {
        std::int16_t key;
        int shift;
        const char* code;
        const char* name;
    };
    for (const Step& st :
         {Step{16, 0, "16", "Shift"}, Step{65, 1, "65", "A"}, Step{112, 6, "112", "F1"},
          Step{0, 0, "112", "F1"}, Step{-3, 0, "112", "F1"}, Step{256, 0, "112", "F1"},
          Step{186, 0, "186", "F1"}, Step{145, 0, "145", "F1"}}) {
        SCOPED_TRACE(st.key);
        f.Text3.KeyDown(st.key, st.shift);
        EXPECT_EQ(f.Text14.text, st.code);
        EXPECT_EQ(f.Text3.text, st.name);
    }

    // Scroll Lock, shown under no name of its own, still drives the hotkey.
    f.Text4.KeyDown(145, 0);
    f.HScroll1.SetValue(10);
    s.sim.keyboard.Press(145);
    f.Timer1.Tick();
    EXPECT_EQ(f.HScroll1.Value(), 11);
}

} // namespace
} // namespace lumatone
