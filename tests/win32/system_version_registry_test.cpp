// Version facts, program location and the Run value, on Wine's kernel and registry.
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "win32/wine_support.h"

namespace lumatone {
namespace {

using wine::TempFolder;

constexpr const char* kRunValue =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Lumatone";

std::optional<std::string> ReadString(HKEY root, const char* key, const char* name) {
    char data[512] = {};
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (RegGetValueA(root, key, name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::string(data);
}

bool KeyExists(HKEY root, const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

TEST(Win32SystemVersion, ReportsTheVersionWineIsSetToForTheProgram) {
    // Wine's per-program version applies at process start, so each setting
    // is seen by a fresh stand-in of a name of its own.
    TempFolder folder;
    std::string probe = folder / "lumatone_version_probe.exe";
    ASSERT_TRUE(CopyFileA(wine::StandinPath().c_str(), probe.c_str(), FALSE));
    const char* appKey = "Software\\Wine\\AppDefaults\\lumatone_version_probe.exe";

    struct Case {
        const char* wineVersion;
        const char* expected;
    } cases[] = {{"winxp", "2/5.1"}, {"vista", "2/6.0"}, {"win7", "2/6.1"}, {"win10", "2/6.2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wineVersion);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, appKey, "Version", REG_SZ, c.wineVersion,
                                  static_cast<DWORD>(strlen(c.wineVersion) + 1)),
                  ERROR_SUCCESS);
        ASSERT_EQ(wine::RunAndWait(probe, "lumatone_version_probe.exe"), 0);
        EXPECT_EQ(wine::ReadFacts(folder / "lumatone_version_probe.out")["version"], c.expected);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, appKey);
}

TEST(Win32SystemLocation, ProgramFolderAndExeNameFollowWhereTheProgramLies) {
    TempFolder folder;
    CreateDirectoryA((folder / "sub").c_str(), nullptr);
    struct Case {
        std::string copy;
        std::string folder;
        std::string exeName;
    } cases[] = {
        {folder / "sub\\my.tool.exe", folder / "sub", "my.tool"},
        // A drive root keeps its separator.
        {"C:\\lumatone-root-probe.exe", "C:\\", "lumatone-root-probe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.copy);
        ASSERT_TRUE(CopyFileA(wine::StandinPath().c_str(), c.copy.c_str(), FALSE));
        ASSERT_EQ(wine::RunAndWait(c.copy, "probe"), 0);
        std::string out = c.copy.substr(0, c.copy.rfind('.')) + ".out";
        auto facts = wine::ReadFacts(out);
        EXPECT_EQ(facts["programfolder"], c.folder);
        EXPECT_EQ(facts["exename"], c.exeName);
        DeleteFileA(out.c_str());
        DeleteFileA(c.copy.c_str());
    }
    EXPECT_EQ(Win32System().PathSeparator(), '\\');
}

class Win32RegistryRun : public ::testing::Test {
  protected:
    void SetUp() override { registry.DeleteValue(kRunValue); }
    void TearDown() override { registry.DeleteValue(kRunValue); }
    Win32Registry registry;
    const char* runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
};

TEST_F(Win32RegistryRun, WritesReplacesAndRemovesTheRunValue) {
    EXPECT_FALSE(registry.ValueExists(kRunValue));
    EXPECT_TRUE(registry.WriteString(kRunValue, "C:\\Program Files\\Lumatone\\Lumatone.exe"));
    EXPECT_TRUE(registry.ValueExists(kRunValue));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, runKey, "Lumatone"),
              "C:\\Program Files\\Lumatone\\Lumatone.exe");

    EXPECT_TRUE(registry.WriteString(kRunValue, "D:\\Lumatone.exe"));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, runKey, "Lumatone"), "D:\\Lumatone.exe");

    EXPECT_TRUE(registry.DeleteValue(kRunValue));
    EXPECT_FALSE(registry.ValueExists(kRunValue));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, runKey, "Lumatone"), std::nullopt);
    // Nothing left to delete.
    EXPECT_FALSE(registry.DeleteValue(kRunValue));
}

TEST_F(Win32RegistryRun, CreatesMissingKeysAndTakesTheShortRootName) {
    const char* key = "Software\\LumatoneTest\\Deep\\Er";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\LumatoneTest");
    EXPECT_TRUE(registry.WriteString("HKCU\\Software\\LumatoneTest\\Deep\\Er\\Name", "one"));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, key, "Name"), "one");
    // A trailing separator names the key's default value.
    EXPECT_TRUE(
        registry.WriteString("hkey_current_user\\Software\\LumatoneTest\\Deep\\Er\\", "two"));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, key, nullptr), "two");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\LumatoneTest");
}

TEST_F(Win32RegistryRun, RefusesPathsOutsideTheUsersHiveAndChangesNothing) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\LumatoneTest");
    const char* refused[] = {
        "HKEY_LOCAL_MACHINE\\Software\\LumatoneTest\\Lumatone",
        "HKLM\\Software\\LumatoneTest\\Lumatone",
        "HKEY_CURRENT_USERX\\Software\\LumatoneTest\\Lumatone",
        "HKEY_CURRENT_USER",
        "HKEY_CURRENT_USER\\",
        "Software\\LumatoneTest\\Lumatone",
        "",
    };
    for (const char* path : refused) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(registry.WriteString(path, "C:\\Lumatone.exe"));
        EXPECT_FALSE(registry.ValueExists(path));
        EXPECT_FALSE(registry.DeleteValue(path));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\LumatoneTest"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\LumatoneTest"));
    EXPECT_FALSE(registry.ValueExists(kRunValue));
}

} // namespace
} // namespace lumatone
