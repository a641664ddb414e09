// What the model reports as changed since the view last mirrored it: the view
// touches only those native controls, so a change left out stays on screen
// wrong, and a change reported for nothing costs native traffic on every tick.
#include "model/changes.h"
#include "support/sim_app.h"
#include "view/delivery.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace lumatone {
namespace {

using testing::SimApp;
using view::EventDelivery;

std::map<std::string, unsigned> Changed(ChangeTracker& tracker) {
    std::map<std::string, unsigned> changed;
    for (const ControlChange& c : tracker.TakeControlChanges())
        changed[c.control->name] = c.aspects;
    return changed;
}

TEST(ChangeTracker, ReportsEachChangedControlOnceWithWhatChanged) {
    Form1 f;
    ChangeTracker tracker(f);
    EXPECT_TRUE(Changed(tracker).empty());
    EXPECT_FALSE(tracker.TakeWindowChange());

    f.Label1.caption = "27";
    f.HScroll1.SetValue(27);
    f.Check1.value = 1;
    f.Command3.enabled = false;
    f.Text9.visible = false;
    f.Line4.y2 = 900;
    f.Text1.font.underline = true;
    f.Label5.foreColor = kRed;
    using namespace aspect;
    EXPECT_EQ(Changed(tracker), (std::map<std::string, unsigned>{{"Label1", kText},
                                                                 {"HScroll1", kValue},
                                                                 {"Check1", kValue},
                                                                 {"Command3", kEnabled},
                                                                 {"Text9", kVisible},
                                                                 {"Line4", kPlace},
                                                                 {"Text1", kFont},
                                                                 {"Label5", kColors}}));
    EXPECT_TRUE(Changed(tracker).empty()); // taken once

    // A change undone before the next take shows nothing new.
    f.Label1.caption = "x";
    f.Label1.caption = "27";
    EXPECT_TRUE(Changed(tracker).empty());

    // A group that moves moves what it holds.
    f.Frame6.top -= 1540;
    const auto moved = Changed(tracker);
    EXPECT_EQ(moved.at("Frame6"), kPlace);
    for (const Control* c : f.Controls())
        if (c->container == &f.Frame6) {
            EXPECT_EQ(moved.count(c->name), 1u) << c->name;
        }
    EXPECT_EQ(moved.count("Frame4"), 0u);
}

TEST(ChangeTracker, KeepsWhatAHiddenWindowDidNotTake) {
    Form1 f;
    ChangeTracker tracker(f);
    // While the window is hidden the view takes only the window's own changes.
    f.Label7.caption = "40";
    f.height = 4235;
    EXPECT_TRUE(tracker.TakeWindowChange());
    f.Label7.caption = "41";
    f.HScroll2.SetValue(50);
    EXPECT_FALSE(tracker.TakeWindowChange());
    f.visible = true;
    EXPECT_TRUE(tracker.TakeWindowChange());
    EXPECT_EQ(Changed(tracker), (std::map<std::string, unsigned>{{"Label7", aspect::kText},
                                                                 {"HScroll2", aspect::kValue}}));
}

TEST(ChangeTracker, AnIdleProgramChangesNothingTickAfterTick) {
    SimApp s;
    s.IniText() = "[Gamma]\nhotkeylight1=112\nhotkeydark1=113\n[Volume]\nhotkeylower1=114\n";
    App& app = s.Start();
    ChangeTracker tracker(app.form1);
    s.Advance(2000); // the first polls fill the panels
    tracker.TakeControlChanges();
    tracker.TakeWindowChange();
    s.Advance(10000);
    EXPECT_TRUE(Changed(tracker).empty());
    EXPECT_FALSE(tracker.TakeWindowChange());
}

TEST(ExitDialog, IsCentredOnTheScreenWhenItComesIntoBeingAndClosingDiscardsIt) {
    SimApp s;
    App& app = s.Start();
    s.sim.runtime.screenWidthTwips = 1280 * 15;
    s.sim.runtime.screenHeightTwips = 1024 * 15;
    Form2& dialog = app.ShowForm2();
    EXPECT_EQ(dialog.left, (1280 * 15 - dialog.width) / 2);
    EXPECT_EQ(dialog.top, (1024 * 15 - dialog.height) / 2);
    dialog.Check1.value = 1;
    app.CloseForm2();
    EXPECT_FALSE(app.Form2Loaded());
    EXPECT_EQ(app.ShowForm2().Check1.value, 0);
}

// An event the system sends while the view mirrors (a window shown or moved)
// must not run inside the mirroring: it waits, runs after it, and what it
// changed is mirrored too. Nothing runs before start-up or after the end.
TEST(EventDelivery, EventsDuringMirroringWaitAndAreMirroredInTurn) {
    SimApp s;
    std::vector<std::string> order;
    EventDelivery* self = nullptr;
    bool sendDuringMirror = false;
    EventDelivery delivery([&] {
        order.push_back("mirror");
        if (sendDuringMirror) {
            sendDuringMirror = false;
            self->Deliver([&] { order.push_back("sent"); });
            order.push_back("mirror done");
        }
    });
    self = &delivery;
    delivery.Attach(s.Start());
    delivery.Deliver([&] {
        order.push_back("click");
        sendDuringMirror = true;
    });
    EXPECT_EQ(order,
              (std::vector<std::string>{"click", "mirror", "mirror done", "sent", "mirror"}));

    s.app->Unload(UnloadReason::UserQuit);
    order.clear();
    delivery.Deliver([&] { order.push_back("late"); });
    EXPECT_TRUE(order.empty());
}

} // namespace
} // namespace lumatone
