// Saving at shutdown when the disk will not cooperate: the previous file stays
// whole and readable, and a user who chose to quit is told once.
#include "settings/regedit.h"
#include "settings/session.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace lumatone {
namespace {

using testing::SimApp;

// A settings file as an earlier shutdown left it, plus a user's own line.
std::string PreviousFile() {
    SimApp earlier;
    App& app = earlier.Start();
    app.form1.HScroll1.SetValue(12);
    app.form1.Text12.text = "112";
    app.form1.Text1.text = "F1";
    app.Unload(UnloadReason::UserQuit);
    return earlier.IniText() + "[Mine]\r\nnote=keep me\r\n";
}

// Every value the session changed, so that each of the 43 writes really writes.
void ChangeEverything(App& app) {
    Form1& f = app.form1;
    f.Check1.value = 1;
    f.Check2.value = 1;
    f.HScroll1.SetValue(30);
    f.HScroll2.SetValue(40);
    for (TextBox* t : {&f.Text12, &f.Text13, &f.Text14, &f.Text15, &f.Text16, &f.Text24, &f.Text17,
                       &f.Text18, &f.Text19, &f.Text20, &f.Text21, &f.Text25, &f.Text32, &f.Text33,
                       &f.Text34, &f.Text35, &f.Text36, &f.Text37})
        t->text = "65";
    for (TextBox* t : {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text11, &f.Text23, &f.Text5,
                       &f.Text6, &f.Text7, &f.Text8, &f.Text10, &f.Text22, &f.Text26, &f.Text27,
                       &f.Text28, &f.Text29, &f.Text30, &f.Text31})
        t->text = "A";
    for (Button* lock : {&f.Command7, &f.Command8, &f.Command10})
        lock->Click();
}

// No copy of the settings, by whatever name, is left beside them.
bool NoCopyLeft(SimApp& s) {
    return s.sim.files.LeftoverCopies(s.SettingsFile()).empty() &&
           s.sim.files.files.count(s.SettingsFile() + ".new") == 0;
}

TEST(SaveFaults, PreviousFileStaysWholeAndAQuittingUserIsTold) {
    struct Case {
        const char* what;
        void (*fault)(SimApp&);
        bool fileKeptByteForByte; // false: some writes landed before the fault
    };
    // The writes go to a copy that replaces the file only when all are stored.
    const Case cases[] = {
        {"write refused half-way through the 43 keys",
         [](SimApp& s) { s.sim.files.writesBeforeFailure = 20; }, true},
        {"disk fills", [](SimApp& s) { s.sim.files.capacity = s.IniText().size() + 8; }, true},
        {"file turns unreadable (locked)",
         [](SimApp& s) { s.sim.files.unreadable.insert(s.SettingsFile()); }, true},
        {"program folder disappears",
         [](SimApp& s) { s.sim.files.removedFolders.insert(s.sim.system.programFolder); }, true},
    };
    const std::string previous = PreviousFile();
    for (const Case& c : cases) {
        for (UnloadReason reason : {UnloadReason::UserQuit, UnloadReason::SystemClosing}) {
            SCOPED_TRACE(std::string(c.what) +
                         (reason == UnloadReason::UserQuit ? ", user quits" : ", system closes"));
            SimApp s;
            s.IniText() = previous;
            App& app = s.Start();
            ChangeEverything(app);
            c.fault(s);
            app.Unload(reason);

            EXPECT_EQ(app.saveFailurePath, s.SettingsFile());
            EXPECT_EQ(s.sim.shell.messageBoxes.size(), reason == UnloadReason::UserQuit ? 1u : 0u);
            EXPECT_TRUE(app.Ended());
            EXPECT_EQ(s.sim.files.files.count(s.SettingsFile() + ".new"), 0u);
            EXPECT_TRUE(NoCopyLeft(s));

            // The disk comes back: what is there is a whole file.
            s.sim.files.unreadable.clear();
            s.sim.files.removedFolders.clear();
            if (c.fileKeptByteForByte) {
                EXPECT_EQ(s.IniText(), previous);
            }
            EXPECT_EQ(s.Read("Mine", "note"), "keep me");
            const std::string gamma = s.Read("Gamma", "lastgamma");
            EXPECT_TRUE(gamma == "12" || gamma == "30") << gamma;
            EXPECT_TRUE(s.Read("Volume", "lockkeys") == "0" || s.Read("Volume", "lockkeys") == "1");

            SimApp next;
            next.IniText() = s.IniText();
            App& again = next.Start();
            EXPECT_EQ(again.form1.HScroll1.Value(), std::stoi(gamma));
        }
    }
}

TEST(SaveFaults, SettingsPathTakenByAFolderReadsDefaultsAndCreatesNothing) {
    SimApp s;
    s.sim.files.folders.insert(s.SettingsFile());
    App& app = s.Start();
    EXPECT_EQ(app.form1.HScroll1.Value(), 0);
    EXPECT_FALSE(app.form1.SettingsNote.visible); // a folder holds no settings to lose
    app.form1.HScroll1.SetValue(20);
    app.Unload(UnloadReason::UserQuit);
    EXPECT_TRUE(s.sim.files.files.empty());
    EXPECT_EQ(s.sim.files.folders.count(s.SettingsFile()), 1u);
    EXPECT_EQ(app.saveFailurePath, s.SettingsFile());
    ASSERT_EQ(s.sim.shell.messageBoxes.size(), 1u);
    EXPECT_NE(s.sim.shell.messageBoxes[0].text.find(s.SettingsFile()), std::string::npos);
}

TEST(SaveFaults, CopyLeftByACrashedSaveIsOverwritten) {
    SimApp s;
    s.IniText() = PreviousFile();
    s.sim.files.files[s.SettingsFile() + ".new"] = "[Gamma]\r\nlastgamma=5\r\n[Stale]\r\nx=1\r\n";
    App& app = s.Start();
    app.form1.HScroll1.SetValue(30);
    app.Unload(UnloadReason::UserQuit);
    EXPECT_EQ(s.Read("Gamma", "lastgamma"), "30");
    EXPECT_EQ(s.Read("Mine", "note"), "keep me");
    EXPECT_EQ(s.Read("Stale", "x"), "");
    EXPECT_EQ(s.sim.files.files.count(s.SettingsFile() + ".new"), 0u);
}

// The kernel's profile functions, with another program's doings run between
// two of this one's writes.
class InterruptedProfile : public PortableProfile {
  public:
    InterruptedProfile(FileStore& files, int writesBefore, std::function<void()> other)
        : PortableProfile(files), writesBefore_(writesBefore), other_(std::move(other)) {}
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& path) override {
        const bool written = PortableProfile::WritePrivateProfileString(section, key, value, path);
        if (--writesBefore_ == 0)
            other_();
        return written;
    }

  private:
    int writesBefore_;
    std::function<void()> other_;
};

// Both programs quit at log-off, or a cleaner removes copies: each save
// lands whole, or says it failed.
TEST(SaveFaults, SavesInterruptedByAnotherProgramLeaveAWholeFile) {
    for (bool removeCopies : {false, true}) {
        for (int writesBefore : {1, 10, 43}) {
            SCOPED_TRACE(std::to_string(writesBefore) +
                         (removeCopies ? " writes, then copies removed"
                                       : " writes, then a second program saves"));
            SimApp s;
            s.IniText() = PreviousFile();
            SettingsSession::Values first, second;
            first.fill("11");
            second.fill("22");
            SettingsSession other(s.sim.profile, s.sim.system);
            bool otherSaved = removeCopies;
            InterruptedProfile interrupted(s.sim.files, writesBefore, [&] {
                if (!removeCopies) {
                    otherSaved = other.Save(second);
                    return;
                }
                s.sim.files.files.erase(s.SettingsFile() + ".new");
                for (const std::string& copy : s.sim.files.LeftoverCopies(s.SettingsFile()))
                    s.sim.files.files.erase(copy);
            });
            SettingsSession session(interrupted, s.sim.system);
            const bool saved = session.Save(first);

            EXPECT_TRUE(otherSaved);
            if (removeCopies && !saved) {
                EXPECT_EQ(s.IniText(), PreviousFile());
                continue;
            }
            const std::string winner = saved ? "11" : "22";
            for (const Setting& setting : kSettingsTable) {
                if (std::string(setting.section) != "Exit Settings") {
                    EXPECT_EQ(s.Read(setting.section, setting.key), winner) << setting.key;
                }
            }
            EXPECT_EQ(s.Read("Mine", "note"), "keep me");
            EXPECT_TRUE(NoCopyLeft(s));
        }
    }
}

// A folder where only settings.ini may change, or a file another program
// holds without delete sharing: the copy is impossible, writing in place is not.
TEST(SaveFaults, ACopyThatCannotBeMadeOrPutInPlaceGivesWayToWritingInPlace) {
    struct Case {
        const char* what;
        void (*fault)(SimApp&);
    };
    const Case cases[] = {
        {"a folder at the copy's name",
         [](SimApp& s) {
             s.sim.files.folders.insert(s.SettingsFile() + ".new");
             s.sim.files.folders.insert(s.SettingsFile() + "." +
                                        std::to_string(s.sim.files.copyNames + 1) + ".new");
         }},
        {"no new file in the folder",
         [](SimApp& s) { s.sim.files.fixedFolders.insert(s.sim.system.programFolder); }},
        {"file held without delete sharing",
         [](SimApp& s) { s.sim.files.undeletable.insert(s.SettingsFile()); }},
        {"no unique name", [](SimApp& s) { s.sim.files.failCopyNames = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimApp s;
        s.IniText() = PreviousFile();
        App& app = s.Start();
        ChangeEverything(app);
        c.fault(s);
        app.Unload(UnloadReason::UserQuit);

        EXPECT_TRUE(app.saveFailurePath.empty());
        EXPECT_TRUE(s.sim.shell.messageBoxes.empty());
        EXPECT_EQ(s.Read("Gamma", "lastgamma"), "30");
        EXPECT_EQ(s.Read("Volume", "hotkeyreset2name"), "A");
        EXPECT_EQ(s.Read("Mine", "note"), "keep me");
        EXPECT_TRUE(NoCopyLeft(s));
    }
}

// A power cut while a copy replaced the file, on a volume where that is two
// steps, leaves only the copy: it is the settings.
TEST(SaveFaults, ACopyWithoutTheFileIsTakenBackAtStart) {
    struct Case {
        const char* copy;               // after settings.ini
        const char* what;               // what keeps it from being renamed back
        void (*blockRename)(SimApp& s); // null: nothing does
    };
    const Case cases[] = {
        {".new", "", nullptr},
        {".4242.new", "", nullptr},
        {".4242.new", ", folder fixed",
         [](SimApp& s) { s.sim.files.fixedFolders.insert(s.sim.system.programFolder); }},
        // The name this program's own copy gets, as with a process id used again.
        {".1.new", ", a folder at the file's name",
         [](SimApp& s) { s.sim.files.folders.insert(s.SettingsFile()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.copy) + c.what);
        SimApp s;
        const std::string copy = s.SettingsFile() + c.copy;
        s.sim.files.files[copy] = PreviousFile();
        const bool blocked = c.blockRename != nullptr;
        if (blocked)
            c.blockRename(s);
        App& app = s.Start();
        EXPECT_EQ(app.form1.HScroll1.Value(), 12);
        EXPECT_EQ(app.form1.Text1.text, "F1");
        EXPECT_EQ(s.HasIni(), !blocked);
        EXPECT_EQ(s.sim.files.files.count(copy), blocked ? 1u : 0u);

        app.form1.HScroll1.SetValue(20);
        app.Unload(UnloadReason::UserQuit);
        if (blocked) { // never deleted while it may be the only copy
            EXPECT_EQ(s.sim.files.files.count(copy), 1u);
            continue;
        }
        EXPECT_EQ(s.Read("Gamma", "lastgamma"), "20");
        EXPECT_EQ(s.Read("Mine", "note"), "keep me");
    }
}

// Locked by another program at start-up, the file reads as missing. Were it
// saved, design values would replace every setting, and the unticked "Start
// with Windows" would remove the Run value.
TEST(SaveFaults, FileUnreadableAtStartIsLeftAloneAllSession) {
    SimApp s;
    s.IniText() = PreviousFile();
    s.Write("Windows", "loadonstartup", "1");
    const std::string previous = s.IniText();
    s.sim.registry.WriteString(kRunValuePath, "C:\\Program Files\\Lumatone\\lumatone.exe");
    s.sim.files.unreadable.insert(s.SettingsFile());
    App& app = s.Start();
    EXPECT_TRUE(app.form1.SettingsNote.visible);
    EXPECT_EQ(app.form1.SettingsNote.caption, kNoteSettingsUnreadable);
    EXPECT_EQ(app.form1.HScroll1.Value(), 0);

    s.sim.files.unreadable.clear(); // let go during the session
    app.form1.HScroll1.SetValue(30);
    app.form1.Command1.Click(); // "x" asks; the answer is not written either
    app.form2->Check1.value = 1;
    app.form2->Command2.Click(); // "Quit"
    EXPECT_TRUE(app.Ended());
    EXPECT_EQ(s.IniText(), previous);
    EXPECT_TRUE(s.sim.registry.ValueExists(kRunValuePath));
    EXPECT_TRUE(s.sim.registry.deletes.empty());
    EXPECT_TRUE(s.sim.shell.messageBoxes.empty());
    EXPECT_FALSE(s.sim.shell.iconPresent);
}

TEST(SaveFaults, NothingChangedOnAReadOnlyDiskIsNoFailure) {
    SimApp s;
    s.IniText() = PreviousFile();
    App& app = s.Start();
    s.sim.files.failWrites = true;
    app.Unload(UnloadReason::UserQuit);
    EXPECT_EQ(s.sim.files.refusedWrites, 0u);
    EXPECT_TRUE(app.saveFailurePath.empty());
    EXPECT_TRUE(s.sim.shell.messageBoxes.empty());
}

} // namespace
} // namespace lumatone
