// The portable private-profile reader and writer against the kernel's own
// functions: the same calls on the same file give the same answers and leave
// the same bytes.
#include "platform/portable/portable_profile.h"
#include "platform/portable/std_file_store.h"
#include "platform/win32/win32_profile.h"
#include "win32/wine_support.h"

#include <algorithm>
#include <variant>
#include <vector>

namespace lumatone {
namespace {

struct Read {
    std::string section, key, defaultValue;
    std::uint32_t size = 255;
};
struct Write {
    std::string section, key, value;
};
using Step = std::variant<Read, Write>;

struct Scenario {
    const char* name;
    std::optional<std::string> file; // nullopt: no file at first
    std::vector<Step> steps;
};

const std::string kLong300(300, 'v');

const Scenario kScenarios[] = {
    {"no file: reads give the default and create nothing",
     std::nullopt,
     {Read{"Gamma", "lastgamma", ""}, Read{"Gamma", "lastgamma", "dflt"}}},
    {"first write creates the file",
     std::nullopt,
     {Write{"Gamma", "lastgamma", "12"}, Read{"Gamma", "lastgamma", ""}}},
    {"long value is cut to the buffer",
     "[Gamma]\r\nlastgamma=" + kLong300 + "\r\n",
     {Read{"Gamma", "lastgamma", ""}, Read{"Gamma", "lastgamma", "", 5},
      Read{"Gamma", "lastgamma", "", 1}}},
    {"blanks around names and values",
     "[Gamma]\r\n  lastgamma  =   12   \r\nhotkeydark1=\t65\t\r\n",
     {Read{"Gamma", "lastgamma", ""}, Read{"Gamma", "hotkeydark1", ""}}},
    {"names match in any letter case",
     "[gamma]\r\nLastGamma=7\r\n",
     {Read{"Gamma", "lastgamma", ""}, Read{"GAMMA", "LASTGAMMA", ""},
      Write{"Gamma", "lastgamma", "8"}}},
    {"one pair of quotes is taken off",
     "[Gamma]\r\na=\"quoted\"\r\nb=\"\"two\"\"\r\nc=\"open\r\nd='single'\r\n",
     {Read{"Gamma", "a", ""}, Read{"Gamma", "b", ""}, Read{"Gamma", "c", ""},
      Read{"Gamma", "d", ""}}},
    {"same key in two sections stays apart",
     "[Gamma]\r\nhotkeyreset=1\r\n[Digital Vibrance]\r\nhotkeyreset=2\r\n",
     {Write{"Gamma", "hotkeyreset", "3"}, Read{"Digital Vibrance", "hotkeyreset", ""},
      Read{"Gamma", "hotkeyreset", ""}}},
    {"a similar key is not the one asked for",
     "[Volume]\r\nhotkeyreset=9\r\n",
     {Read{"Volume", "hotkeyreset1", ""}, Write{"Volume", "hotkeyreset1", "4"}}},
    {"values replaced in place, new keys and sections added",
     "; settings\r\n"
     "[Windows]\r\nloadonstartup=1\r\nminimizeonstartup=0\r\n"
     "[Gamma]\r\nlastgamma=3\r\n",
     {Write{"Windows", "loadonstartup", "0"}, Write{"Windows", "newkey", "x"},
      Write{"Exit Settings", "saveanswer", "1"}, Write{"Gamma", "lastgamma", "27"}}},
    {"empty values",
     "[Gamma]\r\nhotkeylight1name=\r\n",
     {Read{"Gamma", "hotkeylight1name", "dflt"}, Write{"Gamma", "hotkeydark1name", ""},
      Read{"Gamma", "hotkeydark1name", "dflt"}}},
    {"duplicate keys and sections: the first one counts",
     "[Gamma]\r\nlastgamma=1\r\nlastgamma=2\r\n[Gamma]\r\nlastgamma=3\r\nother=4\r\n",
     {Read{"Gamma", "lastgamma", ""}, Read{"Gamma", "other", ""},
      Write{"Gamma", "lastgamma", "5"}}},
    {"lines that are not entries",
     "garbage line\r\n[Gamma]\r\n;lastgamma=1\r\nnoequals\r\n=orphan\r\nlastgamma=2\r\n",
     {Read{"Gamma", "lastgamma", ""}, Read{"Gamma", "noequals", "dflt"},
      Write{"Gamma", "lastgamma", "3"}}},
    {"no line end after the last entry",
     "[Gamma]\r\nlastgamma=2",
     {Read{"Gamma", "lastgamma", ""}, Write{"Gamma", "hotkeydark1", "65"}}},
    {"empty file", "", {Read{"Gamma", "lastgamma", ""}, Write{"Gamma", "lastgamma", "1"}}},
};

// Files the program never writes itself, where the files' bytes part: Wine's
// kernel rewrites the whole file (bare line feeds become CR LF, blanks inside a
// section's brackets go, a written value loses its leading blanks) while the
// portable writer keeps every line it does not change. What is read back agrees.
const Scenario kUnusualScenarios[] = {
    {"written values keep their blanks on disk",
     "[Gamma]\r\n",
     {Write{"Gamma", "padded", "  12  "}, Read{"Gamma", "padded", ""}}},
    {"bare line feeds",
     "[Gamma]\nlastgamma=2\n[Volume]\nlockkeys=1\n",
     {Read{"Gamma", "lastgamma", ""}, Write{"Gamma", "lastgamma", "6"},
      Write{"Volume", "extra", "7"}}},
    {"blanks inside the brackets",
     "[ Gamma ]\r\nlastgamma=2\r\n",
     {Read{"Gamma", "lastgamma", "dflt"}, Write{"Gamma", "lastgamma", "3"}}},
};

// Runs the steps against one profile implementation; every read's result and
// the file's bytes at the end, as one comparable text.
std::vector<std::string> Replay(Profile& profile, const std::string& path, const Scenario& s) {
    DeleteFileA(path.c_str());
    if (s.file)
        wine::WriteFile(path, *s.file);
    std::vector<std::string> trace;
    for (const Step& step : s.steps) {
        if (const Read* read = std::get_if<Read>(&step)) {
            std::vector<char> buffer(read->size + 16, '#');
            std::uint32_t n = profile.GetPrivateProfileString(
                read->section, read->key, read->defaultValue, buffer.data(), read->size, path);
            trace.push_back("read " + read->key + " -> " + std::to_string(n) + " [" +
                            std::string(buffer.data(), n) + "]" +
                            (read->size > 0 && buffer[n] != '\0' ? " unterminated" : ""));
        } else {
            const Write& write = std::get<Write>(step);
            bool ok =
                profile.WritePrivateProfileString(write.section, write.key, write.value, path);
            trace.push_back("write " + write.key + " -> " + (ok ? "ok" : "failed"));
        }
    }
    trace.push_back(wine::FileExists(path) ? "file [" + wine::ReadFile(path) + "]" : "no file");
    return trace;
}

TEST(PortableProfileAgreement, GivesTheKernelsReadsAndFiles) {
    wine::TempFolder folder;
    Win32Profile kernel;
    StdFileStore files;
    PortableProfile portable(files);
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(Replay(portable, folder / "portable.ini", s),
                  Replay(kernel, folder / "kernel.ini", s));
    }
}

TEST(PortableProfileAgreement, ReadsAgreeWhereOnlyTheRewrittenBytesDiffer) {
    wine::TempFolder folder;
    Win32Profile kernel;
    StdFileStore files;
    PortableProfile portable(files);
    auto reads = [](std::vector<std::string> trace) {
        trace.erase(std::remove_if(trace.begin(), trace.end(),
                                   [](const std::string& t) { return t.rfind("read ", 0) != 0; }),
                    trace.end());
        return trace;
    };
    for (const Scenario& s : kUnusualScenarios) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(reads(Replay(portable, folder / "portable.ini", s)),
                  reads(Replay(kernel, folder / "kernel.ini", s)));
    }
}

TEST(PortableProfileAgreement, AcceptsADoubledSeparatorBeforeTheFileName) {
    // A program in a drive root builds "C:\\settings.ini" with two separators.
    wine::TempFolder folder;
    Win32Profile kernel;
    StdFileStore files;
    PortableProfile portable(files);
    for (Profile* profile : {static_cast<Profile*>(&kernel), static_cast<Profile*>(&portable)}) {
        std::string path = folder.path() + "\\\\settings.ini";
        DeleteFileA((folder / "settings.ini").c_str());
        ASSERT_TRUE(profile->WritePrivateProfileString("Gamma", "lastgamma", "27", path));
        char buffer[255] = {};
        EXPECT_EQ(profile->GetPrivateProfileString("Gamma", "lastgamma", "", buffer, 255, path),
                  2u);
        EXPECT_STREQ(buffer, "27");
        EXPECT_TRUE(wine::FileExists(folder / "settings.ini"));
    }
}

TEST(Win32ProfileWrites, FailInAFolderThatDoesNotExist) {
    wine::TempFolder folder;
    Win32Profile kernel;
    std::string path = folder / "missing\\settings.ini";
    EXPECT_FALSE(kernel.WritePrivateProfileString("Gamma", "lastgamma", "1", path));
    char buffer[8] = {};
    EXPECT_EQ(kernel.GetPrivateProfileString("Gamma", "lastgamma", "d", buffer, 8, path), 1u);
    EXPECT_STREQ(buffer, "d");
}

} // namespace
} // namespace lumatone
