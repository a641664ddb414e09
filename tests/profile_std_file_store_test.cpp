// The settings file on a real disk: whole replacements, and failures that damage nothing.
#include "platform/portable/portable_profile.h"
#include "platform/portable/std_file_store.h"
#include "settings/ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace lumatone {
namespace {

namespace fs = std::filesystem;

class StdFileStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("lumatone-") + info->name() + "-" +
                                            std::to_string(std::random_device{}()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }

    std::string Path(const char* name) const { return (dir_ / name).string(); }
    static void Put(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t Entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
    StdFileStore store_;
};

TEST_F(StdFileStoreTest, ReplacesWholeFilesAndLeavesNoTemporaries) {
    const std::string path = Path("settings.ini");
    EXPECT_FALSE(store_.Read(path));
    EXPECT_FALSE(store_.Exists(path));

    EXPECT_TRUE(store_.Replace(path, "[Gamma]\r\nlastgamma=1\r\n"));
    Put(Path("other.txt"), "keep");
    // A reader that opened the old file goes on reading it whole: the new one
    // arrived by rename, not by truncating and rewriting in place.
    std::ifstream oldReader(path, std::ios::binary);
    const std::string big(100000, 'b');
    EXPECT_TRUE(store_.Replace(path, big));
    const std::string seenByOldReader{std::istreambuf_iterator<char>(oldReader),
                                      std::istreambuf_iterator<char>()};
    EXPECT_EQ(seenByOldReader, "[Gamma]\r\nlastgamma=1\r\n");
    EXPECT_EQ(store_.Read(path), big);
    EXPECT_TRUE(store_.Replace(path, ""));
    EXPECT_EQ(store_.Read(path), "");
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(StdFileStoreTest, FailuresDamageNothing) {
    const std::string notes = Path("notes.txt");
    Put(notes, "a file, not a folder");
    const std::string folderPath = Path("settings.ini");
    fs::create_directory(folderPath);
    Put(Path("settings.ini/inside"), "x");

    struct Case {
        const char* what;
        std::string path;
    };
    const Case cases[] = {
        {"folder that does not exist", Path("missing/settings.ini")},
        {"parent is a file", notes + "/settings.ini"},
        {"settings path is a folder", folderPath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(store_.Read(c.path));
        EXPECT_FALSE(store_.Replace(c.path, "[Gamma]\r\n"));
        PortableProfile profile(store_);
        EXPECT_FALSE(WriteIni(profile, "Gamma", "lastgamma", "12", c.path));
    }
    EXPECT_TRUE(fs::is_directory(folderPath));
    EXPECT_EQ(Get(Path("settings.ini/inside")), "x");
    EXPECT_EQ(Get(notes), "a file, not a folder");
    EXPECT_FALSE(fs::exists(Path("missing")));
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(StdFileStoreTest, ReadOnlyFileKeepsItsContent) {
    const std::string path = Path("settings.ini");
    Put(path, "[Gamma]\nlastgamma=3\n");
    PortableProfile profile(store_);
    fs::permissions(path, fs::perms::owner_read, fs::perm_options::replace);
    EXPECT_FALSE(WriteIni(profile, "Gamma", "lastgamma", "12", path));
    EXPECT_EQ(ReadIni(profile, "Gamma", "lastgamma", path), "3");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(StdFileStoreTest, UnwritableFolderKeepsTheFile) {
    const std::string path = Path("settings.ini");
    const std::string before = "[Gamma]\nlastgamma=3\n";
    Put(path, before);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    if (std::ofstream(Path("probe")))
        GTEST_SKIP() << "folder permissions are not enforced for this user";
    PortableProfile profile(store_);
    EXPECT_FALSE(WriteIni(profile, "Gamma", "lastgamma", "12", path));
    EXPECT_EQ(Get(path), before);
}

} // namespace
} // namespace lumatone
