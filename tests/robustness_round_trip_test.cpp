// Inputs found by fuzzing the settings file, kept as regressions: whatever
// start-up puts into a box, shutdown must store so the next start-up gets it back.
#include "platform/portable/portable_profile.h"
#include "platform/sim/sim_file_store.h"
#include "settings/ini.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <string>

namespace lumatone {
namespace {

using testing::SimApp;

TEST(RoundTrip, NamesWithEdgeBlanksOrEnclosingQuotesSurviveARestart) {
    const std::string names[] = {
        "\"F1\"", "'x'", " A", "B ", "\"\"", "'", "\"a'", "\t\"q\"\t", std::string(254, '\'')};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        SimApp first;
        App& a = first.Start();
        a.form1.Text1.text = name;
        a.form1.Text31.text = name;
        a.Unload(UnloadReason::UserQuit);
        EXPECT_TRUE(a.saveFailurePath.empty());

        SimApp second;
        second.IniText() = first.IniText();
        App& b = second.Start();
        EXPECT_EQ(b.form1.Text1.text, name);
        EXPECT_EQ(b.form1.Text31.text, name);
        b.Unload(UnloadReason::UserQuit);
        EXPECT_EQ(second.IniText(), first.IniText());
    }
}

TEST(RoundTrip, HandQuotedNameShowsOnePairLessAndThenStaysPut) {
    SimApp first;
    first.IniText() = "[Gamma]\r\nhotkeylight1name=\"\"F1\"\"\r\n";
    App& a = first.Start();
    EXPECT_EQ(a.form1.Text1.text, "\"F1\"");
    a.Unload(UnloadReason::UserQuit);

    SimApp second;
    second.IniText() = first.IniText();
    EXPECT_EQ(second.Start().form1.Text1.text, "\"F1\"");
}

TEST(RoundTrip, ValueEndsAtItsFirstNulAsTheKernelSeesIt) {
    SimFileStore files;
    PortableProfile profile(files);
    const std::string path = "C:\\settings.ini";
    EXPECT_TRUE(WriteIni(profile, "Gamma", "k", std::string("ab\0 ", 4), path));
    EXPECT_EQ(ReadIni(profile, "Gamma", "k", path), "ab");
    EXPECT_EQ(files.files[path], "[Gamma]\r\nk=ab\r\n");
}

} // namespace
} // namespace lumatone
