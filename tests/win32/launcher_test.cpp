// Starting a program by full path, as the vibrance applet is started.
#include "platform/handles.h"
#include "platform/win32/win32_launcher.h"
#include "win32/wine_support.h"

namespace lumatone {
namespace {

using wine::TempFolder;

class Win32LauncherStart : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateDirectoryA((folder / "bin").c_str(), nullptr);
        CreateDirectoryA((folder / "cwd").c_str(), nullptr);
        runner = folder / "bin\\runner.exe";
        ASSERT_TRUE(CopyFileA(wine::StandinPath().c_str(), runner.c_str(), FALSE));
        GetCurrentDirectoryA(MAX_PATH, savedFolder);
    }
    void TearDown() override { SetCurrentDirectoryA(savedFolder); }

    TempFolder folder;
    std::string runner;
    char savedFolder[MAX_PATH] = {};
    Win32Launcher launcher;
};

TEST_F(Win32LauncherStart, RunsTheProgramGivenByPathWithExactlyItsCommandLine) {
    // A program named like the runner in the current folder must not be the one started.
    std::string decoy = folder / "cwd\\RUNDLL32.exe";
    ASSERT_TRUE(CopyFileA(wine::StandinPath().c_str(), decoy.c_str(), FALSE));
    ASSERT_TRUE(SetCurrentDirectoryA((folder / "cwd").c_str()));

    const std::string lines[] = {
        "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all 57",
        "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all 0",
        "\"a quoted first word\"  two  blanks, trailing blank ",
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        std::string out = folder / "bin\\runner.out";
        DeleteFileA(out.c_str());
        ASSERT_TRUE(launcher.Launch(runner, line, "", kSwShowMinimized));
        ASSERT_TRUE(wine::WaitForFile(out));
        auto facts = wine::ReadFacts(out);
        EXPECT_EQ(facts["commandline"], line);
        EXPECT_EQ(facts["module"], runner);
        EXPECT_EQ(facts["show"], "2");
    }
    EXPECT_FALSE(wine::FileExists(folder / "cwd\\RUNDLL32.out"));
}

TEST_F(Win32LauncherStart, StartsInTheGivenFolderOrInOurs) {
    std::string out = folder / "bin\\runner.out";
    ASSERT_TRUE(SetCurrentDirectoryA((folder / "cwd").c_str()));
    ASSERT_TRUE(launcher.Launch(runner, "runner", folder.path(), kSwShowNormal));
    ASSERT_TRUE(wine::WaitForFile(out));
    EXPECT_EQ(wine::ReadFacts(out)["folder"], folder.path());
    EXPECT_EQ(wine::ReadFacts(out)["show"], "1");

    DeleteFileA(out.c_str());
    ASSERT_TRUE(launcher.Launch(runner, "runner", "", kSwShowNormal));
    ASSERT_TRUE(wine::WaitForFile(out));
    EXPECT_EQ(wine::ReadFacts(out)["folder"], folder / "cwd");
}

TEST_F(Win32LauncherStart, ReportsAProgramThatCannotBeStarted) {
    ASSERT_TRUE(SetCurrentDirectoryA((folder / "bin").c_str()));
    // With no program path the command line's first word would be looked up
    // in the current folder, where runner.exe lies.
    EXPECT_FALSE(launcher.Launch("", "runner.exe", "", kSwShowMinimized));
    EXPECT_FALSE(launcher.Launch(folder / "missing.exe", "missing.exe", "", kSwShowMinimized));
    EXPECT_FALSE(launcher.Launch(runner, "runner", folder / "no-such-folder", kSwShowNormal));
    wine::PumpMessages(300);
    EXPECT_FALSE(wine::FileExists(folder / "bin\\runner.out"));
}

} // namespace
} // namespace lumatone
