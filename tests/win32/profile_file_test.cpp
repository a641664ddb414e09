// The whole-file operations of the kernel profile service under Wine: a file
// another program holds is told apart from a missing one, and a copy replaces
// the file in one step, seen at once by the profile functions; where no copy
// can take its place, a save writes the file itself.
#include "platform/win32/win32_profile.h"
#include "settings/session.h"
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

// The settings folder is a test folder; nothing else of the system is asked.
class FolderSystem : public System {
  public:
    explicit FolderSystem(std::string folder) : folder_(std::move(folder)) {}
    bool GetVersionEx(OsVersionInfo&) override { return false; }
    Features GetFeatures() override { return {}; }
    std::string ProgramFolder() override { return folder_; }
    std::string ExeName() override { return "lumatone"; }
    char PathSeparator() override { return '\\'; }
    void Sleep(std::uint32_t) override {}

  private:
    std::string folder_;
};

TEST(Win32ProfileFiles, ASaveWhoseCopyIsImpossibleWritesTheFileInPlace) {
    for (bool heldWithoutDeleteSharing : {false, true}) {
        SCOPED_TRACE(heldWithoutDeleteSharing ? "file held without delete sharing"
                                              : "a folder at the copy's name");
        wine::TempFolder folder;
        Win32Profile kernel;
        FolderSystem system(folder.path());
        const std::string path = folder / "settings.ini";
        wine::WriteFile(path, "[Gamma]\r\nlastgamma=12\r\n[Mine]\r\nnote=keep\r\n");
        const std::string copy = kernel.UniqueCopyName(path);
        ASSERT_NE(copy.find("settings.ini."), std::string::npos);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (heldWithoutDeleteSharing) {
            held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
        } else {
            ASSERT_TRUE(CreateDirectoryA(copy.c_str(), nullptr));
        }

        SettingsSession session(kernel, system);
        SettingsSession::Values values;
        values.fill("7");
        EXPECT_TRUE(session.Save(values));
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_EQ(ReadKey(kernel, path), "7");
        EXPECT_NE(wine::ReadFile(path).find("note=keep"), std::string::npos);
        EXPECT_EQ(GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES,
                  !heldWithoutDeleteSharing);
        EXPECT_TRUE(kernel.LeftoverCopies(path).empty()); // a folder is no copy
        RemoveDirectoryA(copy.c_str());
    }
}

TEST(Win32ProfileFiles, LeftoverCopiesAreTheFilesOfTheCopyNameBesideTheFile) {
    wine::TempFolder folder;
    Win32Profile kernel;
    const std::string path = folder / "settings.ini";
    wine::WriteFile(path + ".new", "legacy");
    wine::WriteFile(path + ".77.new", "one");
    wine::WriteFile(path + ".5.new", "two");
    wine::WriteFile(path + ".5.tmp", "other");
    wine::WriteFile(folder / "settings.ini7.new", "other");
    EXPECT_EQ(kernel.LeftoverCopies(path),
              (std::vector<std::string>{path + ".5.new", path + ".77.new"}));
    EXPECT_TRUE(kernel.HasRoomFor(path, 1024));
    EXPECT_FALSE(kernel.HasRoomFor(path, ~std::uint64_t{0}));
}

} // namespace
} // namespace lumatone
