// The real uninstaller under Wine: an installation prepared with the real
// record writer, removed by starting its installed Setup.exe with /UNINSTALL
// as the uninstall shortcut does, and answering the confirmation as a user.
#include "record_item.h"
#include "install_transaction.h"
#include "shell_link.h"
#include "system_support.h"
#include "test_support.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using windowdriver::Process;

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kAppKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KestrelSystemTest";

// One installation as the installer leaves it: files in subdirectories, a
// program group with a shortcut, registry values and their key, the
// installed Setup.exe and zlib1.dll, and the record listing all but those two.
class PreparedInstallation : public ::testing::Test {
protected:
    static void Add(InstallTransaction& record, const std::string& text) {
        ASSERT_FALSE(record.Record(setupcore::ClassifyItem(text, setupcore::NoLeadBytes))) << text;
    }

    void SetUp() override {
        install_ = root_ / "Kestrel App";
        group_ = root_ / "Programs\\Group";
        for (const std::string& dir :
             {install_, install_ + "\\docs", install_ + "\\docs\\deep", root_ / "Programs", group_})
            ASSERT_TRUE(::CreateDirectoryA(dir.c_str(), nullptr)) << dir;
        ASSERT_TRUE(CopySetupProgram(install_, "Setup.exe"));
        const Package package;
        InstallTransaction record(package, std::string(), install_, nullptr);
        for (const char* file : {"App.exe", "docs\\readme.txt", "docs\\deep\\notes.txt"}) {
            WriteFileBytes(install_ + "\\" + file, file);
            Add(record, install_ + "\\" + file);
        }
        CreateShortcut(install_ + "\\App.exe", group_ + "\\Kestrel.lnk", install_.c_str(), nullptr,
                       0, nullptr);
        ASSERT_TRUE(FileExists(group_ + "\\Kestrel.lnk"));
        SetRegistryValue(kAppKey, "DisplayName");
        SetRegistryValue(kAppKey, "UninstallString", "\"" + Program() + "\" /UNINSTALL");
        for (const std::string& item : {group_ + "\\Kestrel.lnk", install_ + "\\docs\\deep\\",
                                        install_ + "\\docs\\", group_ + "\\"})
            Add(record, item);
        for (const char* item : {"\\UninstallString", "\\DisplayName", "\\"})
            Add(record, std::string("%REG_CURRENT_USER%") + kAppKey + item);
        // Made by the installation, so listed beside the record.
        record.createdPaths = {install_, install_ + "\\docs", install_ + "\\docs\\deep"};
        ASSERT_FALSE(record.WriteRecord("SetupInfo.dat"));
        record.Commit(); // what it names stays for the uninstaller
        temporaryCopiesBefore_ = TemporaryCopies();
    }

    std::string Program() const { return install_ + "\\Setup.exe"; }
    std::string Record() const { return install_ + "\\SetupInfo.dat"; }

    // Starts the installed program as the uninstall shortcut does.
    Process Start(const std::string& arguments) {
        Process process;
        std::string error;
        EXPECT_TRUE(process.Start(Program(), "\"" + Program() + "\" " + arguments, install_, error))
            << error;
        return process;
    }

    // Starts the program and waits for the confirmation; null after a failure.
    HWND Confirmation(Process& process, const std::string& arguments) {
        process = Start(arguments);
        HWND dialog = windowdriver::WaitForWindow(process.Id(), "Uninstall", 15000);
        EXPECT_NE(dialog, nullptr) << "no confirmation for " << arguments;
        return dialog;
    }

    void ExpectUntouched(const std::string& how) {
        SCOPED_TRACE(how);
        for (const char* file :
             {"App.exe", "docs\\deep\\notes.txt", "Setup.exe", "zlib1.dll", "SetupInfo.dat"})
            EXPECT_TRUE(FileExists(install_ + "\\" + file)) << file;
        EXPECT_TRUE(FileExists(group_ + "\\Kestrel.lnk"));
        EXPECT_TRUE(RegistryKeyExists(kAppKey));
        EXPECT_EQ(TemporaryCopies(), temporaryCopiesBefore_) << "a temporary copy was made";
    }

    // Answers Yes and waits for the program to end, as whoever started the
    // uninstall entry's command waits for it: by then the temporary copy
    // must have done its last step, scheduling itself, and the program ends
    // with the removal's code. Returns the copy's path (empty when none came).
    std::string UninstallAndWait(const std::string& arguments,
                                 const std::function<std::string()>& scheduled) {
        Process first;
        HWND dialog = Confirmation(first, arguments);
        if (!dialog || !windowdriver::PressButton(dialog, IDOK))
            return std::string();
        EXPECT_TRUE(first.WaitForExit(30000)) << "the removal never ended";
        EXPECT_EQ(first.ExitCode(), 0u) << "the removal's own code";
        std::string copy;
        for (const std::string& name : TemporaryCopies())
            if (std::find(temporaryCopiesBefore_.begin(), temporaryCopiesBefore_.end(), name) ==
                temporaryCopiesBefore_.end())
                copy = TemporaryDirectory() + name + "\\Setup.exe";
        // The NT family keeps the path as given, WININIT.INI its short form.
        const std::string now = scheduled();
        EXPECT_TRUE(!copy.empty() && (now.find(copy + "|") != std::string::npos ||
                                      now.find(ShortOrSame(copy)) != std::string::npos))
            << "the program ended before its temporary copy " << copy << " had finished";
        return copy;
    }

    void ExpectEverythingRemoved() {
        EXPECT_FALSE(DirectoryExists(install_)) << "the install directory stays";
        EXPECT_FALSE(DirectoryExists(group_)) << "the program group stays";
        EXPECT_FALSE(RegistryKeyExists(kAppKey));
        EXPECT_TRUE(RegistryKeyExists(kUninstallKey)) << "a parent went too";
    }

    static std::string TemporaryDirectory() {
        char path[MAX_PATH];
        DWORD length = ::GetTempPathA(MAX_PATH, path);
        return std::string(path, length);
    }
    // The hand-off directories, each holding a copy of the program.
    static std::vector<std::string> TemporaryCopies() {
        return DirectoriesMatching(TemporaryDirectory(), "Setup-????????");
    }
    static std::string ShortOrSame(const std::string& path) {
        char shortPath[MAX_PATH];
        DWORD length = ::GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
        return length ? std::string(shortPath, length) : path;
    }

    RegistryKeyGuard keys_{kAppKey};
    TempDir root_;
    ProgramsFoldersOverride programs_{root_ / "Programs", root_ / "Programs"};
    std::string install_, group_;
    std::vector<std::string> temporaryCopiesBefore_;
};

TEST_F(PreparedInstallation, NoCloseAndEscapeChangeNothingAndYesRemovesEverything) {
    struct Decline {
        const char* name;
        void (*answer)(HWND);
    };
    const Decline declines[] = {
        {"No", [](HWND d) { windowdriver::PressButton(d, IDCANCEL); }},
        {"close box", [](HWND d) { ::PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Escape", [](HWND d) { ::PostMessageA(d, WM_KEYDOWN, VK_ESCAPE, 0); }},
    };
    for (const Decline& decline : declines) {
        Process process;
        HWND dialog = Confirmation(process, "/UNINSTALL");
        ASSERT_NE(dialog, nullptr) << decline.name;
        decline.answer(dialog);
        EXPECT_TRUE(process.WaitForExit(15000)) << decline.name;
        EXPECT_EQ(process.ExitCode(), 1u) << decline.name << ": cancelled by the user";
        ExpectUntouched(decline.name);
    }

    // Another program's zlib1.dll in the temporary directory is no concern of ours.
    const FileGuard planted(TemporaryDirectory() + "zlib1.dll");
    WriteFileBytes(planted.Path(), "someone else's library");
    const std::string copy = UninstallAndWait("-UnInstall", PendingRestartDeletions);
    ExpectEverythingRemoved();
    EXPECT_EQ(ReadFileBytes(planted.Path()), "someone else's library");
    const std::string pending = PendingRestartDeletions();
    const std::string handOff = copy.substr(0, copy.rfind('\\'));
    EXPECT_NE(pending.find(copy + "|"), std::string::npos) << pending;
    EXPECT_NE(pending.find(handOff + "\\zlib1.dll|"), std::string::npos) << pending;
    EXPECT_NE(pending.find(handOff + "|"), std::string::npos) << pending;
    EXPECT_EQ(pending.find(TemporaryDirectory() + "zlib1.dll|"), std::string::npos)
        << "nothing outside the hand-off directory is touched";
}

TEST_F(PreparedInstallation, OnTheOlderFamilyTheCopySchedulesItselfInWininit) {
    const FileGuard wininit([] {
        char windows[MAX_PATH];
        ::GetWindowsDirectoryA(windows, MAX_PATH);
        return std::string(windows) + "\\WININIT.INI";
    }());
    // Programs started from now on are told they run on the older family.
    RegistryValueGuard wineVersion(HKEY_CURRENT_USER, "Software\\Wine", "Version");
    wineVersion.Set("win98");
    const auto wininitText = [&] { return ReadFileBytes(wininit.Path()); };
    const std::string copy = UninstallAndWait("/UNINSTALL", wininitText);
    ExpectEverythingRemoved();
    EXPECT_NE(wininitText().find("NUL=" + ShortOrSame(copy)), std::string::npos) << wininitText();
}

TEST_F(PreparedInstallation, DamagedOrMissingRecordIsReportedAndRemovesNothingRecorded) {
    TempDir copyDirectory; // stands in for the temporary copy
    ASSERT_TRUE(CopySetupProgram(copyDirectory.Path(), "SetA1.tmp"));
    const std::string copy = copyDirectory / "SetA1.tmp";
    const auto removeWithCopy = [&] {
        return windowdriver::RunAnsweringMessageBoxes(
            copy, "\"" + copy + "\" /UNINSTALL \"" + Program() + "\"", install_);
    };

    std::string record = ReadFileBytes(Record());
    record[9] ^= 1; // one of the bytes after the letters of the signature
    WriteFileBytes(Record(), record);
    windowdriver::RunResult damaged = removeWithCopy();
    ASSERT_EQ(damaged.boxes.size(), 1u) << damaged.Describe();
    EXPECT_EQ(damaged.boxes[0].text, "The setup information file is invalid.");
    EXPECT_EQ(damaged.boxes[0].caption, "SetA1");
    EXPECT_TRUE(FileExists(install_ + "\\docs\\deep\\notes.txt"));
    EXPECT_TRUE(RegistryKeyExists(kAppKey));
    EXPECT_TRUE(FileExists(Program())) << "without a valid record nothing is removed";
    EXPECT_TRUE(FileExists(install_ + "\\zlib1.dll"));

    EXPECT_TRUE(FileExists(Record())) << "a damaged record is kept";
    ASSERT_TRUE(::DeleteFileA(Record().c_str()));
    windowdriver::RunResult missing = removeWithCopy();
    ASSERT_EQ(missing.boxes.size(), 1u) << missing.Describe();
    EXPECT_EQ(missing.boxes[0].text,
              "Can not open the Setup info file " + Record() + "\n.Setup can not to continue.");
    EXPECT_TRUE(missing.exited) << missing.Describe();
}

} // namespace
