// Opening a document or program through the shell, as the contact link does.
#include "platform/shell.h"
#include "platform/win32/win32_shell.h"
#include "win32/wine_support.h"

namespace lumatone {
namespace {

TEST(Win32ShellExecute, OpensWithParametersAndFolderAndReportsWhatItCannotOpen) {
    wine::TempFolder folder;
    std::string program = folder / "opened.exe";
    ASSERT_TRUE(CopyFileA(wine::StandinPath().c_str(), program.c_str(), FALSE));
    Win32Shell shell;

    ASSERT_TRUE(shell.Execute("Open", program, "one \"two three\"", folder.path(), kSwShowNormal));
    ASSERT_TRUE(wine::WaitForFile(folder / "opened.out"));
    auto facts = wine::ReadFacts(folder / "opened.out");
    EXPECT_EQ(facts["module"], program);
    const std::string tail = " one \"two three\"";
    ASSERT_GE(facts["commandline"].size(), tail.size());
    EXPECT_EQ(facts["commandline"].substr(facts["commandline"].size() - tail.size()), tail);
    EXPECT_EQ(facts["folder"], folder.path());
    EXPECT_EQ(facts["show"], "1");

    EXPECT_FALSE(shell.Execute("Open", folder / "missing.exe", "", "", kSwShowNormal));
}

} // namespace
} // namespace lumatone
