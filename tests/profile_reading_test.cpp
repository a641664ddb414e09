// Reading values the way the kernel's GetPrivateProfileStringA does.
#include "platform/portable/portable_profile.h"
#include "platform/sim/sim_file_store.h"
#include "settings/ini.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace lumatone {
namespace {

const std::string kPath = "C:\\Lumatone\\settings.ini";

struct Fixture {
    SimFileStore files;
    PortableProfile profile{files};

    std::string Read(const std::string& text, const std::string& section, const std::string& key) {
        files.files[kPath] = text;
        return ReadIni(profile, section, key, kPath);
    }
};

TEST(ProfileReading, FindsValuesTheWayWindowsDoes) {
    struct Case {
        const char* what;
        std::string file;
        const char* section;
        const char* key;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", "[Gamma]\r\nlastgamma=12\r\n", "Gamma", "lastgamma", "12"},
        {"hand-written other case", "[gamma]\r\nLastGamma=12\r\n", "Gamma", "lastgamma", "12"},
        {"blanks around value", "[Gamma]\r\nlastgamma = 12 \r\n", "Gamma", "lastgamma", "12"},
        {"tabs around name and value", "[Gamma]\r\n\tlastgamma\t=\t12\t\r\n", "Gamma", "lastgamma",
         "12"},
        {"blanks inside brackets", "  [ Gamma ]  \r\nlastgamma=12\r\n", "Gamma", "lastgamma", "12"},
        {"header without ']'", "[Gamma\r\nlastgamma=12\r\n", "Gamma", "lastgamma", "12"},
        {"text after ']'", "[Gamma] old\r\nlastgamma=12\r\n", "Gamma", "lastgamma", "12"},
        {"LF only", "[Gamma]\nlastgamma=12\n", "Gamma", "lastgamma", "12"},
        {"lone CR", "[Gamma]\rlastgamma=12\r", "Gamma", "lastgamma", "12"},
        {"no final line end", "[Gamma]\r\nlastgamma=12", "Gamma", "lastgamma", "12"},
        {"double quotes", "[V]\r\nk=\" a b \"\r\n", "V", "k", " a b "},
        {"single quotes", "[V]\r\nk='x'\r\n", "V", "k", "x"},
        {"only outer quotes", "[V]\r\nk=\"'x'\"\r\n", "V", "k", "'x'"},
        {"unmatched quotes stay", "[V]\r\nk='x\"\r\n", "V", "k", "'x\""},
        {"one quote alone stays", "[V]\r\nk=\"\r\n", "V", "k", "\""},
        {"empty quotes", "[V]\r\nk=\"\"\r\n", "V", "k", ""},
        {"'=' inside the value", "[V]\r\nk=a=b\r\n", "V", "k", "a=b"},
        {"';' value is no comment", "[V]\r\nk=;x\r\n", "V", "k", ";x"},
        {"NUL ends the value", std::string("[V]\r\nk=ab\0cd\r\n", 14), "V", "k", "ab"},
        {"first duplicate key wins", "[V]\r\nk=1\r\nK=2\r\n", "V", "k", "1"},
        {"first duplicate section wins", "[V]\r\na=1\r\n[V]\r\nk=2\r\n", "V", "k", ""},
        {"commented key", "[V]\r\n;k=1\r\n", "V", "k", ""},
        {"line without '='", "[V]\r\nk\r\n", "V", "k", ""},
        {"key before any section", "k=1\r\n[V]\r\n", "V", "k", ""},
        {"empty section name", "[]\r\nk=1\r\n", "", "k", "1"},
        {"same key, other section", "[Gamma]\r\nhotkeyreset=1\r\n[Volume]\r\nhotkeyreset1=2\r\n",
         "Volume", "hotkeyreset", ""},
        {"UTF-8 mark spoils the first header", "\xEF\xBB\xBF[V]\r\nk=1\r\n", "V", "k", ""},
        {"empty file", "", "V", "k", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        EXPECT_EQ(f.Read(c.file, c.section, c.key), c.expected);
    }
}

TEST(ProfileReading, LongValuesAreCutToTheBuffer) {
    Fixture f;
    const std::string longValue(300, 'x');
    const std::string read =
        f.Read("[Gamma]\r\nhotkeylight1name=" + longValue + "\r\n", "Gamma", "hotkeylight1name");
    EXPECT_EQ(read, std::string(254, 'x'));

    // The raw call: at most size-1 characters and the NUL, the count without it.
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(f.profile.GetPrivateProfileString("Gamma", "hotkeylight1name", "", buffer, 4, kPath),
              3u);
    EXPECT_STREQ(buffer, "xxx");
    EXPECT_EQ(buffer[4], '#');
    EXPECT_EQ(f.profile.GetPrivateProfileString("Gamma", "hotkeylight1name", "", buffer, 1, kPath),
              0u);
    EXPECT_EQ(buffer[0], '\0');
    buffer[0] = '#';
    EXPECT_EQ(f.profile.GetPrivateProfileString("Gamma", "hotkeylight1name", "", buffer, 0, kPath),
              0u);
    EXPECT_EQ(buffer[0], '#');
}

TEST(ProfileReading, MissingThingsGiveTheDefaultAndCreateNothing) {
    Fixture f;
    char buffer[32];
    EXPECT_EQ(f.profile.GetPrivateProfileString("Gamma", "lastgamma", "dflt  ", buffer,
                                                sizeof buffer, kPath),
              4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(ReadIni(f.profile, "Gamma", "lastgamma", kPath), "");
    EXPECT_TRUE(f.files.files.empty());
    EXPECT_EQ(f.files.writes, 0u);

    // A file that exists but cannot be read is treated as empty, and left alone.
    f.files.files[kPath] = "[Gamma]\r\nlastgamma=5\r\n";
    f.files.unreadable.insert(kPath);
    EXPECT_EQ(ReadIni(f.profile, "Gamma", "lastgamma", kPath), "");
    f.files.unreadable.clear();
    f.files.folders.insert(kPath);
    EXPECT_EQ(ReadIni(f.profile, "Gamma", "lastgamma", kPath), "");
    EXPECT_EQ(f.files.writes, 0u);
}

} // namespace
} // namespace lumatone
