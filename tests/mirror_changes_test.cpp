// What the model reports as changed since the view last mirrored it: the view
// touches only those native controls, so a change left out stays on screen
// wrong, and a change reported for nothing costs native traffic on every tick.
#include "model/changes.h"
#include "support/sim_app.h"
#include "view/delivery.h"
#include "view/kit.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
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

// Records what the kit asks of a native program.
class RecordingNative : public view::NativeWindows {
  public:
    std::vector<std::string> texts; // "name=text" as applied
    int created2 = 0, discarded = 0;

    int DotsPerInch() override { return 96; }
    view::PixelSize ScreenSize() override { return {1280, 1024}; }
    std::optional<PixelRect> WorkArea() override { return PixelRect{0, 0, 1280, 1024}; }
    view::NativeHandle CreateForm1(Form1&) override { return Shown(true); }
    view::NativeHandle CreateForm2(Form2&) override {
        ++created2;
        return Shown(false);
    }
    void CreateControl(view::NativeControl& n, view::NativeHandle, int) override {
        n.handle = Shown(true);
    }
    void Raise(view::NativeHandle) override {}
    void Discard(view::FormWindow&) override { ++discarded; }
    bool Shown(view::NativeHandle w) override { return *static_cast<bool*>(w); }
    bool Minimized(view::NativeHandle) override { return false; }
    void Place(view::NativeHandle, const PixelRect&) override {}
    void Show(view::NativeHandle w, bool) override { *static_cast<bool*>(w) = true; }
    void Hide(view::NativeHandle w, bool) override { *static_cast<bool*>(w) = false; }
    void Repaint(view::NativeHandle) override {}
    void ApplyText(view::NativeControl& n, const std::string& text) override {
        texts.push_back(n.control->name + "=" + text);
    }
    void ApplyValue(view::NativeControl&, int) override {}
    void ApplyLook(view::NativeControl&, const ControlLook&, unsigned) override {}
    void StartTimer(std::size_t, int) override {}
    void StopTimer(std::size_t) override {}
    view::NativeHandle FocusIn(view::NativeHandle) override { return nullptr; }
    bool Focusable(view::NativeHandle) override { return true; }
    void Focus(view::NativeHandle) override {}

  private:
    view::NativeHandle Shown(bool shown) {
        windows_.push_back(shown);
        return &windows_.back();
    }
    std::deque<bool> windows_;
};

// The 50 ms poll of a window in the tray must cost no control traffic, yet
// the window shows what changed meanwhile when it comes back; the exit
// dialog's native window comes and goes with its model.
TEST(ViewKit, AHiddenWindowTakesItsChangesWhenShownAndTheDialogFollowsItsModel) {
    SimApp s;
    RecordingNative native;
    view::ViewKit kit(native);
    s.windows = std::make_unique<WindowsCapabilities>(s.sim.services);
    s.app = std::make_unique<App>(s.windows->capabilities);
    ASSERT_TRUE(kit.Create(*s.app));
    s.app->Load();
    kit.Sync();
    Form1& f = s.form();
    kit.Deliver([&] { f.visible = false; });
    native.texts.clear();
    kit.Deliver([&] { f.Label27.caption = "a"; });
    kit.Deliver([&] { f.Label27.caption = "b"; });
    EXPECT_TRUE(native.texts.empty());
    kit.Deliver([&] { f.visible = true; });
    EXPECT_EQ(native.texts, (std::vector<std::string>{"Label27=b"}));

    kit.Deliver([&] { s.app->ShowForm2(); });
    EXPECT_EQ(native.created2, 1);
    kit.Deliver([&] { s.app->CloseForm2(); });
    EXPECT_EQ(native.discarded, 1);
}

} // namespace
} // namespace lumatone
