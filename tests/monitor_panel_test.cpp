#include "display/monitor.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumatone {
namespace {

std::vector<std::string> Panel(const Form1& f) {
    return {f.Label23.caption, f.Label24.caption, f.Label25.caption, f.Label26.caption};
}

TEST(MonitorPanel, ShowsEachQueryFromItsOwnContextAndTheRateAsReported) {
    testing::SimApp s;
    App& app = s.Start(); // start-up fills the panel at once
    EXPECT_EQ(Panel(app.form1), (std::vector<std::string>{"1024", "768", "32 Bit", "60 hz  "}));
    for (std::uint32_t rate : {0u, 1u, 75u}) {
        s.sim.screen.current = {800, 600, 16, rate};
        s.sim.screen.capsQueries.clear();
        s.Advance(1500); // one Timer2 tick
        const std::string hz = std::to_string(rate) + " hz  ";
        EXPECT_EQ(Panel(app.form1), (std::vector<std::string>{"800", "600", "16 Bit", hz}));

        const auto& q = s.sim.screen.capsQueries;
        ASSERT_EQ(q.size(), 4u);
        const int order[] = {kHorzRes, kVertRes, kBitsPixel, kVRefresh};
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(q[i].index, order[i]);
            EXPECT_TRUE(q[i].contextLive && (i == 0 || q[i].dc != q[i - 1].dc));
        }
        EXPECT_EQ(s.sim.screen.contextsOutstanding, 0);
    }
}

TEST(RefreshRateChange, OnlyAWholeRateFromOneTo1000OnAReadableModeIsTried) {
    enum Sim { Accepts75, Refuses, Restarts, EnumFails };
    struct Case {
        std::string text;
        Sim sim;
        std::vector<std::uint32_t> flags; // change calls made, in order
        std::uint32_t rateAfter;
        std::string note;
        bool infoBox = false;
    };
    const std::string notWhole = kNoteNotWholeNumber, range = kNoteOutOfRange;
    const std::vector<Case> cases = {
        {"", Accepts75, {}, 60, ""},
        {"   ", Accepts75, {}, 60, ""},
        {"75", Accepts75, {kCdsFullscreen, kCdsUpdateRegistry}, 75, ""},
        {" 75\t", Accepts75, {kCdsFullscreen, kCdsUpdateRegistry}, 75, ""},
        {"85", Refuses, {kCdsFullscreen}, 60, ""},
        {"75", Restarts, {kCdsFullscreen}, 60, "", true},
        {"75", EnumFails, {}, 60, ""},
        {"59.94", Accepts75, {}, 60, notWhole},
        {"75hz", Accepts75, {}, 60, notWhole},
        {"7 5", Accepts75, {}, 60, notWhole},
        {"0", Accepts75, {}, 60, range},
        {"-75", Accepts75, {}, 60, range},
        {"1001", Accepts75, {}, 60, range},
        {"4294967371", Accepts75, {}, 60, range}, // 75 once cut to 32 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\" sim " + std::to_string(c.sim));
        testing::SimApp s;
        SimScreen& screen = s.sim.screen;
        screen.registry = {1024, 768, 32, 60};
        screen.accepted.push_back({1024, 768, 32, 75});
        screen.answerRestart = c.sim == Restarts;
        screen.failEnum = c.sim == EnumFails;
        App& app = s.Start();
        app.form1.Text9.SetTextByUser(c.text);
        app.form1.Label26.caption = "stale";
        app.form1.Command5.Click();

        ASSERT_EQ(screen.changeCalls.size(), c.flags.size());
        for (std::size_t i = 0; i < c.flags.size(); ++i) {
            const DevModeA& m = screen.changeCalls[i].mode;
            EXPECT_EQ(screen.changeCalls[i].flags, c.flags[i]);
            EXPECT_EQ(m.dmSize, 124);
            EXPECT_EQ(m.dmFields, kDmDisplayFrequency);
            EXPECT_EQ(m.dmPelsWidth, 1024u); // the rest as the stored mode has it
        }
        EXPECT_EQ(screen.current.frequency, c.rateAfter);
        EXPECT_EQ(app.form1.Label26.caption, std::to_string(c.rateAfter) + " hz  ");
        EXPECT_EQ(app.form1.FrequencyNote.caption, c.note);
        ASSERT_EQ(s.sim.shell.messageBoxes.size(), c.infoBox ? 1u : 0u);
        if (c.infoBox) {
            EXPECT_EQ(s.sim.shell.messageBoxes[0].text,
                      "You have to restart for the changes to take effect.");
            EXPECT_EQ(s.sim.shell.messageBoxes[0].title, "Info");
            EXPECT_EQ(s.sim.shell.messageBoxes[0].style, 4100u);
            // Owned by Form1, which takes no input until the box is answered.
            EXPECT_EQ(s.sim.shell.messageBoxes[0].owner, s.sim.runtime.mainWindow);
        }
    }
}

TEST(RefreshRateChange, NoteOutlivesOneRefreshAndGoesWithTheNextOrANewClick) {
    testing::SimApp s;
    App& app = s.Start();
    app.form1.Text9.SetTextByUser("abc");
    app.form1.Command5.Click();
    s.Advance(1500);
    EXPECT_EQ(app.form1.FrequencyNote.caption, kNoteNotWholeNumber);
    s.Advance(1500);
    EXPECT_EQ(app.form1.FrequencyNote.caption, "");

    app.form1.Command5.Click();
    app.form1.Text9.SetTextByUser("");
    app.form1.Command5.Click();
    EXPECT_EQ(app.form1.FrequencyNote.caption, "");
}

} // namespace
} // namespace lumatone
