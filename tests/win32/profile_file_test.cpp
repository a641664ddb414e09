// The whole-file operations of the kernel profile service under Wine: a file
// another program holds is told apart from a missing one, and a copy replaces
// the file in one step, seen at once by the profile functions.
#include "platform/win32/win32_profile.h"
#include "win32/wine_support.h"

namespace lumatone {
namespace {

std::string ReadKey(Win32Profile& kernel, const std::string& path) {
    char buffer[32] = {};
    kernel.GetPrivateProfileString("Gamma", "lastgamma", "", buffer, sizeof buffer, path);
    return buffer;
}

TEST(Win32ProfileFiles, AFileHeldWithoutSharingIsUnreadableNotMissing) {
    wine::TempFolder folder;
    Win32Profile kernel;
    const std::string path = folder / "settings.ini";
    EXPECT_EQ(kernel.StateOf(path), FileState::Missing);
    EXPECT_EQ(kernel.StateOf(folder / "gone\\settings.ini"), FileState::Missing);
    CreateDirectoryA((folder / "taken").c_str(), nullptr);
    EXPECT_EQ(kernel.StateOf(folder / "taken"), FileState::Missing);

    wine::WriteFile(path, "[Gamma]\r\nlastgamma=12\r\n");
    EXPECT_EQ(kernel.StateOf(path), FileState::Readable);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadKey(kernel, path), ""); // the profile functions take it for missing
    EXPECT_EQ(kernel.StateOf(path), FileState::Unreadable);
    EXPECT_FALSE(kernel.CopyOver(path, path + ".new"));
    wine::WriteFile(path + ".new", "[Gamma]\r\nlastgamma=30\r\n");
    EXPECT_FALSE(kernel.MoveOver(path + ".new", path));
    CloseHandle(held);
    EXPECT_EQ(wine::ReadFile(path), "[Gamma]\r\nlastgamma=12\r\n");
}

TEST(Win32ProfileFiles, ACopyWrittenByTheProfileFunctionsReplacesTheFile) {
    wine::TempFolder folder;
    Win32Profile kernel;
    const std::string path = folder / "settings.ini", copy = path + ".new";
    wine::WriteFile(path, "[Gamma]\r\nlastgamma=12\r\n[Mine]\r\nnote=keep\r\n");
    // A read-only copy left by an earlier run is no obstacle.
    wine::WriteFile(copy, "stale");
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ReadKey(kernel, path), "12");

    ASSERT_TRUE(kernel.CopyOver(path, copy));
    ASSERT_TRUE(kernel.WritePrivateProfileString("Gamma", "lastgamma", "30", copy));
    EXPECT_EQ(ReadKey(kernel, path), "12"); // the file stays whole until the replace
    ASSERT_TRUE(kernel.MoveOver(copy, path));
    EXPECT_FALSE(wine::FileExists(copy));
    EXPECT_EQ(ReadKey(kernel, path), "30");
    EXPECT_NE(wine::ReadFile(path).find("note=keep"), std::string::npos);

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(kernel.RemoveFile(path));
    EXPECT_FALSE(wine::FileExists(path));
    EXPECT_TRUE(kernel.RemoveFile(path));
}

} // namespace
} // namespace lumatone
