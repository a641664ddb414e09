// Writing values: in place, keeping every other byte, never losing the file.
#include "platform/portable/portable_profile.h"
#include "platform/sim/sim_file_store.h"
#include "settings/ini.h"

#include <gtest/gtest.h>

#include <string>

namespace lumatone {
namespace {

const std::string kPath = "C:\\Lumatone\\settings.ini";

TEST(ProfileWriting, EditsOnlyWhatItMust) {
    struct Case {
        const char* what;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const Case cases[] = {
        {"new file is CRLF", "", "Gamma", "lastgamma", "12", "[Gamma]\r\nlastgamma=12\r\n"},
        {"replace in place keeps name, blanks and neighbours",
         "; mine\r\n[gamma]\r\n  LastGamma = 3 \r\nother=x\r\n", "Gamma", "lastgamma", "12",
         "; mine\r\n[gamma]\r\n  LastGamma =12\r\nother=x\r\n"},
        {"new key after the section's last line, before the blank separator",
         "[Gamma]\r\na=1\r\n\r\n[Volume]\r\nb=2\r\n", "gamma", "lastgamma", "7",
         "[Gamma]\r\na=1\r\nlastgamma=7\r\n\r\n[Volume]\r\nb=2\r\n"},
        {"new key into an empty section", "[Gamma]\n[Volume]\n", "Gamma", "k", "v",
         "[Gamma]\nk=v\n[Volume]\n"},
        {"a lone-CR first line does not set the end of a line added after an LF line",
         "[G]\ra=1\n\n[V]\r", "G", "k", "v", "[G]\ra=1\nk=v\n\n[V]\r"},
        {"new section at the end, LF kept", "[Gamma]\nlastgamma=1\n", "Volume", "lockkeys", "0",
         "[Gamma]\nlastgamma=1\n[Volume]\nlockkeys=0\n"},
        {"missing last line end added first", "[Gamma]\r\nlastgamma=1", "Gamma", "k", "v",
         "[Gamma]\r\nlastgamma=1\r\nk=v\r\n"},
        {"missing last line end before a new section", "[Gamma]\r\nlastgamma=1", "Volume", "k", "v",
         "[Gamma]\r\nlastgamma=1\r\n[Volume]\r\nk=v\r\n"},
        {"comments, unknown keys and lines without '=' untouched",
         "[Gamma]\r\n;comment=1\r\nstray line\r\nunknown = \"q\" \r\n\r\n", "Gamma", "stray line",
         "x", "[Gamma]\r\n;comment=1\r\nstray line\r\nunknown = \"q\" \r\nstray line=x\r\n\r\n"},
        {"first of duplicate keys replaced", "[V]\r\nk=1\r\nk=2\r\n", "V", "k", "3",
         "[V]\r\nk=3\r\nk=2\r\n"},
        {"first of duplicate sections used", "[V]\r\na=1\r\n[V]\r\nk=2\r\n", "V", "k", "3",
         "[V]\r\na=1\r\nk=3\r\n[V]\r\nk=2\r\n"},
        {"value written as given", "", "V", "k", "  \"x\" ", "[V]\r\nk=  \"x\" \r\n"},
        {"empty value", "[V]\r\nk=1\r\n", "V", "k", "", "[V]\r\nk=\r\n"},
        {"names lose edge blanks", "", " V ", " k ", "1", "[V]\r\nk=1\r\n"},
        {"same key in two sections independent",
         "[Gamma]\r\nhotkeyreset=1\r\n[Digital Vibrance]\r\nhotkeyreset=2\r\n", "Digital Vibrance",
         "hotkeyreset", "9", "[Gamma]\r\nhotkeyreset=1\r\n[Digital Vibrance]\r\nhotkeyreset=9\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimFileStore files;
        PortableProfile profile(files);
        if (*c.before)
            files.files[kPath] = c.before;
        EXPECT_TRUE(profile.WritePrivateProfileString(c.section, c.key, c.value, kPath));
        EXPECT_EQ(files.files[kPath], c.after);
    }
}

TEST(ProfileWriting, ValuesReadBackAfterManyWrites) {
    SimFileStore files;
    PortableProfile profile(files);
    files.files[kPath] = "[Exit Settings]\nsaveanswer=1\n";
    for (int round = 0; round < 3; ++round)
        for (const char* section : {"Gamma", "Digital Vibrance", "Volume"})
            for (const char* key : {"hotkeyreset", "lockkeys", "hotkeylower1name"})
                ASSERT_TRUE(WriteIni(profile, section, key,
                                     std::string(section) + key + std::to_string(round), kPath));
    for (const char* section : {"Gamma", "Digital Vibrance", "Volume"})
        for (const char* key : {"hotkeyreset", "lockkeys", "hotkeylower1name"})
            EXPECT_EQ(ReadIni(profile, section, key, kPath), std::string(section) + key + "2");
    EXPECT_EQ(ReadIni(profile, "Exit Settings", "saveanswer", kPath), "1");
    EXPECT_EQ(files.files[kPath].find('\r'), std::string::npos);
}

// A stray CR in a damaged first line is no line end to copy: the keys the
// program adds would all share one line for any reader that splits at LF.
TEST(ProfileWriting, AddedKeysEndLikeTheirSectionsLinesNotLikeAStrayCr) {
    const struct {
        const char* what;
        const char* before;
    } files[] = {
        {"LF", "garbage\r garbage\n[Windows]\nloadonstartup=1\n"},
        {"CRLF", "garbage\r garbage\r\n[Windows]\r\nloadonstartup=1\r\n"},
        {"LF, last line without an end", "garbage\rgarbage\n[Windows]\nloadonstartup=1"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        SimFileStore store;
        PortableProfile profile(store);
        store.files[kPath] = f.before;
        const std::string end =
            std::string(f.before).find("\r\n") != std::string::npos ? "\r\n" : "\n";
        for (const char* section : {"Windows", "Gamma", "Volume"})
            for (const char* key : {"hotkeyreset", "lockkeys"})
                ASSERT_TRUE(WriteIni(profile, section, key, "1", kPath));
        const std::string& after = store.files[kPath];
        EXPECT_EQ(after.substr(after.find("[Windows]")),
                  "[Windows]" + end + "loadonstartup=1" + end + "hotkeyreset=1" + end +
                      "lockkeys=1" + end + "[Gamma]" + end + "hotkeyreset=1" + end + "lockkeys=1" +
                      end + "[Volume]" + end + "hotkeyreset=1" + end + "lockkeys=1" + end);
        EXPECT_EQ(ReadIni(profile, "Volume", "lockkeys", kPath), "1");
    }
}

TEST(ProfileWriting, RefusesWhatWouldBreakTheFile) {
    struct Case {
        const char* what;
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"line break in value", "Gamma", "lastgamma", "1\r\n[Evil]"},
        {"line feed in name", "Gamma", "a\nb", "1"},
        {"line break in section", "Gam\rma", "k", "1"},
        {"'=' in key", "Gamma", "lastgamma=5", "1"},
        {"key that reads as a comment", "Gamma", ";k", "1"},
        {"key that reads as a header", "Gamma", "[k]", "1"},
        {"section with ']'", "Ga]mma", "k", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimFileStore files;
        PortableProfile profile(files);
        const std::string before = "[Gamma]\r\nlastgamma=3\r\n";
        files.files[kPath] = before;
        EXPECT_FALSE(profile.WritePrivateProfileString(c.section, c.key, c.value, kPath));
        EXPECT_EQ(files.files[kPath], before);
        EXPECT_EQ(files.writes, 0u);
    }
}

TEST(ProfileWriting, FailuresLoseNothingThatWasOnDisk) {
    const std::string before = "[Gamma]\r\nlastgamma=3\r\n; note\r\n";
    struct Case {
        const char* what;
        void (*breakIt)(SimFileStore&);
    };
    const Case cases[] = {
        {"write refused", [](SimFileStore& f) { f.failWrites = true; }},
        {"disk full", [](SimFileStore& f) { f.capacity = 30; }},
        {"file unreadable", [](SimFileStore& f) { f.unreadable.insert(kPath); }},
        {"path is a folder",
         [](SimFileStore& f) {
             f.files.erase(kPath);
             f.folders.insert(kPath);
         }},
        {"program folder gone", [](SimFileStore& f) { f.removedFolders.insert("C:\\Lumatone"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimFileStore files;
        PortableProfile profile(files);
        files.files[kPath] = before;
        c.breakIt(files);
        EXPECT_FALSE(WriteIni(profile, "Gamma", "lastgamma", "12", kPath));
        EXPECT_FALSE(WriteIni(profile, "Volume", "lockkeys", "1", kPath));
        if (files.files.count(kPath)) {
            EXPECT_EQ(files.files[kPath], before);
        }
    }

    // Unchanged values need no write at all, so a read-only disk keeps quiet.
    SimFileStore files;
    PortableProfile profile(files);
    files.files[kPath] = before;
    files.failWrites = true;
    EXPECT_TRUE(WriteIni(profile, "Gamma", "lastgamma", "3", kPath));
    EXPECT_EQ(files.writes, 0u);
}

} // namespace
} // namespace lumatone
