#include "app/drag.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumatone {
namespace {

// Screen 15360 x 11520 twips; the window 6615 x 7335 at 2460, 1800.
TEST(DragWindow, FollowsThePointerUntilAnEdgeThenOnlyThatEdgeMoves) {
    struct Case {
        const char* what;
        int button;
        float x, y; // pressed at 300, 100
        int left, top;
    };
    for (const Case& c : {
             Case{"600 right", 1, 900, 100, 3060, 1800},
             Case{"flush left is inside", 1, 300 - 2460, 150, 0, 1850},
             Case{"past left", 1, 300 - 2461, 150, 0, 1800},
             Case{"past top", 1, 400, -1701, 2460, 0},
             Case{"past right", 1, 300 + 6286, 150, 8745, 1800},
             Case{"past bottom", 1, 400, 100 + 2386, 2460, 4185},
             Case{"right button alone", 2, 900, 100, 2460, 1800},
             Case{"left and right", 3, 900, 100, 2460, 1800},
             // 8745 + 6615 is the screen width; in single precision the tiny
             // excess vanishes, so the window is inside and moves down.
             Case{"single precision", 1, 6585.0f + 1.0f / 2048, 200, 8745, 1900},
         }) {
        SCOPED_TRACE(c.what);
        testing::SimApp s;
        Form1& f = s.Start().form1;
        f.Frame1.onMouseDown(1, 0, 300, 100);
        f.Frame1.onMouseMove(c.button, 0, c.x, c.y);
        EXPECT_EQ(f.left, c.left);
        EXPECT_EQ(f.top, c.top);
    }
}

TEST(DragWindow, OnlyTheBackgroundAndFourGroupsAreHandlesSharingOneDrag) {
    testing::SimApp s;
    App& app = s.Start();
    Form1& f = app.form1;
    for (Frame* notHandle : {&f.Frame5, &f.Frame6})
        EXPECT_FALSE(notHandle->onMouseDown || notHandle->onMouseMove);

    f.Frame4.onMouseDown(1, 0, 1000.5f, 1000); // taken as 1000, halves to even
    f.onMouseMove(1, 0, 1100, 1000);           // another handle, same drag
    EXPECT_EQ(f.left, 2560);
    f.Frame2.onMouseDown(2, 0, 1100, 1000); // a second button: new start, no movement
    f.Frame2.onMouseMove(3, 0, 1500, 1000);
    EXPECT_EQ(f.left, 2560);
    f.Frame2.onMouseUp(2, 0, 1500, 1000); // either release ends the drag
    f.Frame2.onMouseMove(1, 0, 1900, 1000);
    EXPECT_EQ(f.left, 2560);
    f.Frame3.onMouseDown(4, 0, 0, 0); // any button starts one
    f.Frame1.onMouseMove(1, 0, 10, 0);
    EXPECT_EQ(f.left, 2570);
}

TEST(DragWindow, APressOnABindingBoxOfALockedGroupDragsNothing) {
    testing::SimApp s;
    Form1& f = s.Start().form1;
    // Locked boxes are disabled; the system hands a press on one to its group.
    f.Command7.Click();
    f.Command8.Click();
    auto groups = f.BindingGroups();
    for (std::size_t g = 0; g < 2; ++g)
        for (const BindingSlot& slot : groups[g].slots) {
            SCOPED_TRACE(slot.binding->name);
            ASSERT_FALSE(slot.binding->enabled);
            Frame& group = *static_cast<Frame*>(slot.binding->container);
            const float x = static_cast<float>(slot.binding->left + slot.binding->width - 1);
            const float y = static_cast<float>(slot.binding->top);
            group.onMouseDown(1, 0, x, y);
            group.onMouseMove(1, 0, x + 600, y);
            EXPECT_EQ(f.left, 2460);
            // Just beside the box the group is a handle as before.
            group.onMouseDown(1, 0, x, y - 1);
            group.onMouseMove(1, 0, x + 600, y - 1);
            EXPECT_EQ(f.left, 3060);
            group.onMouseUp(1, 0, x + 600, y - 1);
            f.left = 2460;
        }
}

TEST(DragWindow, AWindowLargerThanTheScreenSettlesAtZeroAndStillMovesTheOtherWay) {
    for (bool tall : {true, false}) {
        SCOPED_TRACE(tall ? "taller" : "wider");
        testing::SimApp s;
        (tall ? s.sim.runtime.screenHeightTwips : s.sim.runtime.screenWidthTwips) = 6000;
        Form1& f = s.Start().form1;
        // The pointer at a screen position, as the window reports it: relative to itself.
        const auto moveTo = [&f](float px, float py) {
            f.onMouseMove(1, 0, px - f.left, py - f.top);
        };
        f.onMouseDown(1, 0, 500, 500);
        std::vector<int> fixedEdge;
        for (int i = 1; i <= 4; ++i) {
            moveTo(2960.0f + 40 * i, 2300.0f + 40 * i);
            fixedEdge.push_back(tall ? f.top : f.left);
        }
        EXPECT_EQ(fixedEdge, std::vector<int>(4, 0));
        EXPECT_EQ(tall ? f.left : f.top, tall ? 2620 : 1960);
    }
}

TEST(ContactLink, OpensAMailToTheShownAddressAndTheByLineDoesNothing) {
    testing::SimApp s;
    Form1& f = s.Start().form1;
    f.Label27.Click();
    EXPECT_TRUE(s.sim.shell.executes.empty());
    f.Label30.Click();
    ASSERT_EQ(s.sim.shell.executes.size(), 1u);
    const auto& e = s.sim.shell.executes[0];
    EXPECT_EQ(e.operation, "Open");
    EXPECT_EQ(e.file, "mailto:" + f.Label30.caption);
    EXPECT_EQ(e.parameters + e.folder, "");
    EXPECT_EQ(e.showCommand, 1);
}

} // namespace
} // namespace lumatone
