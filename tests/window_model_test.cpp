#include "model/forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace lumatone {
namespace {

TEST(Slider, ChangeRunsOnlyOnRealChangeAndNestsInsideTheSetter) {
    Form1 f;
    std::vector<std::string> events;
    f.HScroll1.onChange = [&] {
        events.push_back("h1=" + std::to_string(f.HScroll1.Value()));
        f.HScroll2.SetValue(f.HScroll1.Value() * 2); // nested: runs before we return
        events.push_back("h1 done");
    };
    f.HScroll2.onChange = [&] { events.push_back("h2=" + std::to_string(f.HScroll2.Value())); };

    f.HScroll1.SetValue(0); // design value already: nothing
    EXPECT_TRUE(events.empty());
    f.HScroll1.SetValue(5);
    EXPECT_EQ(events, (std::vector<std::string>{"h1=5", "h2=10", "h1 done"}));
    events.clear();
    f.HScroll1.SetValue(5);
    EXPECT_TRUE(events.empty());
}

TEST(Slider, OutOfRangeValuesAreRefusedWithoutAnEvent) {
    Form1 f;
    int changes = 0;
    f.HScroll1.onChange = [&] { ++changes; };
    EXPECT_FALSE(f.HScroll1.SetValue(38));
    EXPECT_FALSE(f.HScroll1.SetValue(-1));
    EXPECT_TRUE(f.HScroll1.SetValue(37));
    EXPECT_EQ(f.HScroll1.Value(), 37);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(f.VScroll1.SetValue(101));
}

TEST(TextBox, LockedIgnoresTypingButDeliversKeyDownDisabledTakesNothing) {
    Form1 f;
    std::vector<int> keys;
    f.Text1.onKeyDown = [&](std::int16_t code, int) { keys.push_back(code); };
    f.Text1.Type("A");
    f.Text1.KeyDown(65, 0);
    EXPECT_EQ(f.Text1.text, "0");
    EXPECT_EQ(keys, std::vector<int>{65});

    f.Text9.Type("75");
    EXPECT_EQ(f.Text9.text, "75");

    f.Text1.enabled = false;
    f.Text1.KeyDown(66, 0);
    EXPECT_EQ(keys.size(), 1u);
    EXPECT_FALSE(f.SetFocus(&f.Text1));
}

TEST(Focus, TabSkipsDisabledHiddenAndUnreachableControls) {
    Form1 f;
    f.FocusNext();
    EXPECT_EQ(f.Focused(), &f.Check1);
    f.FocusNext();
    EXPECT_EQ(f.Focused(), &f.Check2);

    // Walk the whole cycle: code boxes and the code-only buttons are never reached.
    std::vector<Control*> visited;
    for (std::size_t i = 0; i < f.TabOrder().size(); ++i) {
        f.FocusNext();
        visited.push_back(f.Focused());
    }
    const std::vector<Control*> unreachable = {
        &f.Command6, &f.Command9, &f.Text12, &f.Text13, &f.Text14, &f.Text15, &f.Text16,
        &f.Text17,   &f.Text18,   &f.Text19, &f.Text20, &f.Text21, &f.Text24, &f.Text25,
        &f.Text32,   &f.Text33,   &f.Text34, &f.Text35, &f.Text36, &f.Text37};
    for (Control* c : visited)
        EXPECT_EQ(std::count(unreachable.begin(), unreachable.end(), c), 0) << c->name;

    f.Frame3.visible = false; // a hidden group hides its boxes from the Tab key
    f.SetFocus(&f.Command3);
    f.FocusNext();
    EXPECT_EQ(f.Focused(), &f.Text9);
    f.FocusNext(true);
    EXPECT_EQ(f.Focused(), &f.Command3);
}

TEST(Focus, ControlsCutOffByTheShortenedWindowTakeNone) {
    Form1 f;
    f.SetFocus(&f.VScroll1);
    f.height = 4235; // Windows 7: the volume group lies below the window
    EXPECT_EQ(f.Focused(), nullptr);
    const std::vector<Control*> cutOff = {&f.VScroll1, &f.Text26, &f.Text27, &f.Text28,
                                          &f.Text29,   &f.Text30, &f.Text31, &f.Command10};
    for (Control* c : cutOff)
        EXPECT_FALSE(f.SetFocus(c)) << c->name;
    for (std::size_t i = 0; i < 2 * f.TabOrder().size(); ++i) {
        f.FocusNext(i % 3 == 0);
        ASSERT_NE(f.Focused(), nullptr);
        EXPECT_EQ(std::count(cutOff.begin(), cutOff.end(), f.Focused()), 0) << f.Focused()->name;
    }
}

TEST(Layout, DesignStateBeforeStartUp) {
    Form1 f;
    for (const Slider* s : {&f.HScroll1, &f.HScroll2, &f.VScroll1})
        EXPECT_EQ(s->Value(), 0);
    for (Control* c : f.Controls())
        if (auto* t = dynamic_cast<TextBox*>(c); t && t != &f.Text9) {
            EXPECT_EQ(t->text, "0") << t->name;
        }
    EXPECT_EQ(f.Text9.text, "");
    EXPECT_EQ(f.Label1.caption, "lb1");
    EXPECT_EQ(f.Label11.caption, "lb11");
    EXPECT_EQ(f.Label7.caption, "Label7");
    for (const Label* l : {&f.Label23, &f.Label24, &f.Label25, &f.Label26})
        EXPECT_EQ(l->caption, "XXX");
    EXPECT_EQ(f.Label15.caption, "Mute");
    EXPECT_FALSE(f.mnuForm.visible);
    // Code boxes lie right of the window, out of sight.
    EXPECT_GE(f.Text12.WindowLeft(), f.width);
    // Controls in a group are placed relative to it.
    EXPECT_EQ(f.Text1.WindowLeft(), 120 + 2520);
    EXPECT_EQ(f.Text1.WindowTop(), 1080 + 600);
}

TEST(Layout, ShorteningTheWindowLeavesTheBottomBorderOutside) {
    Form1 f;
    f.height -= 1540 + 1560;
    EXPECT_EQ(f.height, 4235);
    EXPECT_GT(f.Line10.y1, f.height);
    EXPECT_GT(f.Frame6.WindowTop(), f.height);
}

} // namespace
} // namespace lumatone
