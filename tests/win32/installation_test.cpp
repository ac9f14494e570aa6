// The installation and the uninstallation as the engine carries them out, in
// this process, on real directories, the real registry and real shortcuts,
// with the questions answered from a script.
#include "current_directory.h"
#include "engine_test_support.h"
#include "install_prompts.h"
#include "installation.h"
#include "nested_source_sweep.h"
#include "install_record_format.h"
#include "packaged_file.h"
#include "path_helpers.h"
#include "setup_context.h"
#include "shell_link.h"
#include "test_support.h"
#include "uninstallation.h"
#include "unique_handle.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <deque>

namespace {

const char kDisplayName[] = "KestrelEngineTest";
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KestrelEngineTest";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";

// Whether `directory` holds files named like the copy run's successors.
bool HoldsTemporaryFiles(const std::string& directory) {
    WIN32_FIND_DATAA found;
    return UniqueFind(::FindFirstFileA((directory + "\\*.tmp").c_str(), &found)).get() !=
           INVALID_HANDLE_VALUE;
}

} // namespace

class InstallationTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui; // none of this may show a box
    TempDir setup, target, programs;
    ProgramsFoldersOverride programsFolders{programs.Path(), programs.Path()};
    RegistryKeyGuard uninstallKey{kUninstallKey};
    RegistryValueGuard runValue{HKEY_CURRENT_USER, kRunKey, "KestrelApp"};
    FileGuard desktopLink{SpecialFolderPath(CSIDL_DESKTOP) + "\\" + kDisplayName + ".lnk"};
    SetupContext context;
    InstallChoices choices;
    ScriptedPrompts prompts;

    void SetUp() override {
        context.StartFrom(setup / "Setup.exe");
        context.package.appExe = "Notes.exe";
        context.package.folderName = kDisplayName;
        context.DerivePackageNames();
        choices.installDir = target / "App";
        choices.programsFolder = programs.Path() + "\\";
        choices.groupName = "Kestrel";
        choices.quickLaunchShortcut = false; // Wine's profile has no Quick Launch folder
        choices.launchProgram = false;
        choices.autoStart = true;
        Package("Notes.exe", "program bytes", false);
        Package("docs\\guide.txt", "guide", true);
        WritePackageFiles("program bytes");
        WriteFileBytes(setup / "mine.txt", "the user's own");
    }

    void Package(const std::string& name, const std::string& bytes, bool compressed) {
        WriteFileBytes(setup / ExtractFileName(name, true),
                       compressed ? setupcore::PackBytes(bytes) : bytes);
        context.package.entries.push_back({name, compressed});
    }
    // The package's files again, as a second run finds them, the sweep of
    // the first having taken them; the record of the first is forgotten.
    void WritePackageFiles(const std::string& program) {
        WriteFileBytes(setup / "Notes.exe", program);
        WriteFileBytes(setup / "guide.txt", setupcore::PackBytes("guide"));
        WriteFileBytes(setup / "URL.txt", "http://example.invalid/");
        WriteFileBytes(setup / "Setup.dat", "index");
    }
    std::string App(const std::string& name) const { return target / ("App\\" + name); }
    std::string Group(const std::string& name) const { return programs / ("Kestrel" + name); }
    InstallOutcome RunInstall() { return Install(context, choices, prompts, nullptr); }
};

TEST_F(InstallationTest, EveryStepIsCarriedOutAndRecordedInOrderThenUndoneByTheUninstaller) {
    const InstallOutcome outcome = RunInstall();
    ASSERT_EQ(outcome.stage, InstallStage::Installed);
    EXPECT_FALSE(outcome.problem);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(prompts.asked.empty());

    EXPECT_EQ(ReadFileBytes(App("Notes.exe")), "program bytes");
    EXPECT_EQ(ReadFileBytes(App("docs\\guide.txt")), "guide");
    EXPECT_EQ(ReadFileBytes(App("URL.txt")), "http://example.invalid/");
    ShortcutContents link;
    ASSERT_EQ(ReadShortcut(Group("\\KestrelEngineTest.lnk"), link), S_OK);
    EXPECT_EQ(link.target, App("Notes.exe"));
    ASSERT_EQ(ReadShortcut(Group("\\Uninstall.lnk"), link), S_OK);
    EXPECT_EQ(link.arguments, " /UNINSTALL");
    EXPECT_TRUE(FileExists(desktopLink.Path()));
    EXPECT_EQ(RegistryString(kUninstallKey, "UninstallString"),
              "\"" + App("Setup.exe") + "\" /UNINSTALL");
    EXPECT_EQ(RegistryString(kUninstallKey, "DisplayName"), kDisplayName);
    EXPECT_EQ(RegistryString(kRunKey, "KestrelApp"), "\"" + App("Notes.exe") + "\"");

    const std::string prefix = "%REG_CURRENT_USER%";
    const std::vector<std::string> items = {
        App("Notes.exe"),
        App("docs\\guide.txt"),
        App("URL.txt"),
        Group(""),
        Group("\\KestrelEngineTest.lnk"),
        desktopLink.Path(),
        Group("\\Uninstall.lnk"),
        prefix + kUninstallKey + "\\UninstallString",
        prefix + kUninstallKey + "\\DisplayName",
        prefix + kUninstallKey + "\\",
        Group("\\"),
        prefix + kRunKey + "KestrelApp",
    };
    EXPECT_EQ(ReadFileBytes(App("SetupInfo.dat")),
              setupcore::EncodeInstallRecord({choices.installDir, "", items}));
    // Beside it, the folders it made, in the order made.
    EXPECT_EQ(ReadFileBytes(App("SetupMade.dat")),
              setupcore::EncodeInstallRecord(
                  {choices.installDir, "", {App(""), App("docs\\"), Group("\\")}},
                  setupcore::kMadeListSignature));

    // The package's own files leave the setup directory; the user's stay.
    for (const char* name : {"Notes.exe", "guide.txt", "URL.txt", "Setup.dat"})
        EXPECT_FALSE(FileExists(setup / name)) << name;
    EXPECT_TRUE(FileExists(setup / "mine.txt"));

    // The uninstaller's copy removes all of it again.
    WriteFileBytes(App("Setup.exe"), "installed program");
    WriteFileBytes(App("zlib1.dll"), "library");
    TempDir copyDirectory;
    CurrentDirectoryKeeper keeper; // the uninstaller leaves for its own directory
    const RemovalOutcome removal = RemoveInstallation(App("Setup.exe"), copyDirectory / "Set1.tmp");
    EXPECT_FALSE(removal.problem);
    EXPECT_TRUE(removal.left.empty()) << removal.left.front().text;
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(DirectoryExists(target / "App"));
    EXPECT_FALSE(DirectoryExists(Group("")));
    EXPECT_FALSE(FileExists(desktopLink.Path()));
    EXPECT_FALSE(RegistryKeyExists(kUninstallKey));
    EXPECT_FALSE(RegistryValueExists(kRunKey, "KestrelApp"));
    EXPECT_EQ(PendingRestartDeletions().find(copyDirectory / "Set1.tmp|"), std::string::npos)
        << "a program started by hand, not from a hand-off directory, keeps its files";
}

TEST_F(InstallationTest, ADirectoryThatCannotBeMadeStopsBeforeAnythingIsDone) {
    WriteFileBytes(target / "file", "in the way");
    choices.installDir = target / "file\\App";
    const InstallOutcome outcome = RunInstall();
    EXPECT_EQ(outcome.stage, InstallStage::DirectoryRefused);
    EXPECT_EQ(outcome.problem.kind, ProblemKind::CannotCreateInstallDir);
    EXPECT_TRUE(context.installDir.empty()) << "nothing was installed";
    EXPECT_TRUE(FileExists(setup / "Notes.exe"));
    EXPECT_FALSE(RegistryKeyExists(kUninstallKey));
}

TEST_F(InstallationTest, NoInstallDirectoryOfTheShellsOrTheSystemsOrInNoCanonicalFormIsTaken) {
    const struct {
        const char* name;
        std::string directory;
    } rows[] = {
        {"a drive's root", "C:\\"},
        {"a drive's root with a slash", "C:/"},
        {"the desktop", SpecialFolderPath(CSIDL_DESKTOP)},
        {"Documents", SpecialFolderPath(CSIDL_PERSONAL)},
        {"Favorites", SpecialFolderPath(CSIDL_FAVORITES)},
        {"the profile", SpecialFolderPath(CSIDL_PROFILE)},
        {"Program Files itself", SpecialFolderPath(CSIDL_PROGRAM_FILES)},
        {"the Windows directory", WindowsDirectory()},
        {"the system directory, another way", WindowsDirectory() + "\\x\\..\\system32\\"},
        {"the setup directory", setup.Path()},
        {"a verbatim path", "\\\\?\\" + target / "Q"},
        {"a trailing dot", target / "S."},
        {"a relative path", "App"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        choices.installDir = row.directory;
        const InstallOutcome outcome = RunInstall();
        EXPECT_EQ(outcome.stage, InstallStage::DirectoryRefused);
        EXPECT_EQ(outcome.problem.kind, ProblemKind::CannotCreateInstallDir);
        EXPECT_TRUE(context.installDir.empty()) << "nothing was installed";
        EXPECT_TRUE(FileExists(setup / "Notes.exe"));
    }
    EXPECT_FALSE(DirectoryExists(target / "Q"));
}

TEST_F(InstallationTest, TheDirectoryIsTakenInItsCanonicalFormAndOnlyWhatItMadeGoes) {
    // The user's folders stand in the directory before the installation;
    // the parents the installation makes on the way go with it.
    ASSERT_TRUE(CreateDirectoryTree(target / "Users\\App\\mine"));
    choices.installDir = target / "Users/x/../App/";
    ASSERT_EQ(RunInstall().stage, InstallStage::Installed);
    EXPECT_EQ(context.installDir, target / "Users\\App");
    EXPECT_EQ(RegistryString(kUninstallKey, "UninstallString"),
              "\"" + target / "Users\\App\\Setup.exe" + "\" /UNINSTALL");
    WriteFileBytes(target / "Users\\App\\Setup.exe", "installed program");
    TempDir copyDirectory;
    CurrentDirectoryKeeper keeper;
    const RemovalOutcome removal =
        RemoveInstallation(target / "Users\\App\\Setup.exe", copyDirectory / "Set1.tmp");
    EXPECT_TRUE(removal.left.empty()) << removal.left.front().text;
    EXPECT_TRUE(DirectoryExists(target / "Users\\App\\mine")) << "the user's, though empty";
    EXPECT_FALSE(DirectoryExists(target / "Users\\App\\docs"));

    choices.installDir = target / "Vendor\\Product\\App";
    WritePackageFiles("program bytes");
    ASSERT_EQ(RunInstall().stage, InstallStage::Installed);
    const RemovalOutcome second =
        RemoveInstallation(target / "Vendor\\Product\\App\\Setup.exe", copyDirectory / "Set1.tmp");
    EXPECT_TRUE(second.left.empty()) << second.left.front().text;
    EXPECT_FALSE(DirectoryExists(target / "Vendor")) << "made on the way, so taken away";
}

TEST_F(InstallationTest, AReinstallBeforeTheRestartKeepsItsFilesThroughTheRestart) {
    ASSERT_EQ(RunInstall().stage, InstallStage::Installed);
    WriteFileBytes(App("Setup.exe"), "installed program");
    {
        // In use while the uninstaller runs: left to the restart.
        UniqueFileHandle held(::CreateFileA(App("Notes.exe").c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        TempDir copyDirectory;
        CurrentDirectoryKeeper keeper;
        RemoveInstallation(App("Setup.exe"), copyDirectory / "Set1.tmp");
    }
    ASSERT_NE(PendingRestartDeletions().find(App("Notes.exe") + "|"), std::string::npos);

    WritePackageFiles("version two");
    ASSERT_EQ(RunInstall().stage, InstallStage::Installed);
    EXPECT_EQ(PendingRestartDeletions().find(App("Notes.exe") + "|"), std::string::npos);

    // The restart: Wine carries out what is scheduled when it boots.
    ASSERT_TRUE(RunAndWait("wineboot.exe -r"));
    EXPECT_EQ(ReadFileBytes(App("Notes.exe")), "version two");
}

TEST_F(InstallationTest, AFailedCopyRunIsUndoneAndNoLaterStepRuns) {
    WriteFileBytes(setup / "guide.txt", "not a zlib stream");
    const InstallOutcome outcome = RunInstall();
    EXPECT_EQ(outcome.stage, InstallStage::CopyFailed);
    EXPECT_EQ(outcome.problem.kind, ProblemKind::FileInvalid);
    EXPECT_EQ(outcome.problem.path, setup / "guide.txt");
    EXPECT_FALSE(DirectoryExists(target / "App")) << "made by the run, so taken away again";
    EXPECT_FALSE(DirectoryExists(Group("")));
    EXPECT_FALSE(RegistryKeyExists(kUninstallKey));
    EXPECT_FALSE(FileExists(desktopLink.Path()));
    EXPECT_TRUE(FileExists(setup / "Notes.exe")) << "the package stays for another try";
}

TEST_F(InstallationTest, ATargetInUseIsAskedAboutThroughThePromptsUntilDeclined) {
    ASSERT_TRUE(CreateDirectoryTree(target / "App"));
    WriteFileBytes(App("Notes.exe"), "old version");
    HANDLE held = ::CreateFileA(App("Notes.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                0, nullptr);
    prompts.answers = {true, false};
    const InstallOutcome outcome = RunInstall();
    ::CloseHandle(held);
    EXPECT_EQ(outcome.stage, InstallStage::CopyFailed);
    EXPECT_EQ(outcome.problem.kind, ProblemKind::Cancelled);
    EXPECT_EQ(prompts.asked, (std::vector<std::string>{App("Notes.exe"), App("Notes.exe")}));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.dialogs.empty());
}

// Files of an earlier installation, and what stands beside them.
class OverAnEarlierInstallation : public InstallationTest {
protected:
    void SetUp() override {
        InstallationTest::SetUp();
        ASSERT_TRUE(CreateDirectoryTree(target / "App\\docs"));
        WriteFileBytes(App("Notes.exe"), "old program");
        WriteFileBytes(App("docs\\guide.txt"), "old guide");
        WriteFileBytes(App("old.dll"), "obsolete");
        context.package.obsoleteNames = {"old.dll"};
    }
    void ExpectEarlierInstallationWhole() {
        EXPECT_EQ(ReadFileBytes(App("Notes.exe")), "old program");
        EXPECT_EQ(ReadFileBytes(App("docs\\guide.txt")), "old guide");
        EXPECT_EQ(ReadFileBytes(App("old.dll")), "obsolete");
        ExpectNoSuccessorsLeft();
    }
    void ExpectNoSuccessorsLeft() {
        for (const char* directory : {"App", "App\\docs"})
            EXPECT_FALSE(HoldsTemporaryFiles(target / directory)) << directory;
    }
};

TEST_F(OverAnEarlierInstallation, AFailedRunPutsBackEveryFileItReplacedByteForByte) {
    WriteFileBytes(setup / "guide.txt", "not a zlib stream"); // the second file fails
    const InstallOutcome outcome = RunInstall();
    EXPECT_EQ(outcome.stage, InstallStage::CopyFailed);
    EXPECT_EQ(outcome.problem.kind, ProblemKind::FileInvalid);
    ExpectEarlierInstallationWhole();
    EXPECT_TRUE(DirectoryExists(target / "App")) << "it was there before";
}

TEST_F(OverAnEarlierInstallation, ASuccessfulRunReplacesThemAndLeavesNothingBeside) {
    ASSERT_EQ(RunInstall().stage, InstallStage::Installed);
    EXPECT_EQ(ReadFileBytes(App("Notes.exe")), "program bytes");
    EXPECT_EQ(ReadFileBytes(App("docs\\guide.txt")), "guide");
    EXPECT_FALSE(FileExists(App("old.dll")));
    ExpectNoSuccessorsLeft();
}

// (A read-only file would be another such case; Wine, run as root here,
// writes one all the same.)
TEST_F(OverAnEarlierInstallation, OnlyAFileInUseIsAskedAboutADirectoryInTheWayStopsTheRun) {
    ::DeleteFileA(App("Notes.exe").c_str());
    ASSERT_TRUE(::CreateDirectoryA(App("Notes.exe").c_str(), nullptr));
    const InstallOutcome outcome = RunInstall();
    EXPECT_EQ(outcome.stage, InstallStage::CopyFailed);
    EXPECT_EQ(outcome.problem.kind, ProblemKind::CannotCreateFile);
    EXPECT_EQ(outcome.problem.path, App("Notes.exe"));
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_TRUE(DirectoryExists(App("Notes.exe")));
    EXPECT_EQ(ReadFileBytes(App("old.dll")), "obsolete");
    ::RemoveDirectoryA(App("Notes.exe").c_str());
}

// The install directory C:\kestrel-links\install of the link fixture holds
// "linked", a directory link to a folder of someone else's.
class InstallationThroughALink : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    TempDir setup;
    SetupContext context;
    void SetUp() override {
        context.StartFrom(setup / "Setup.exe");
        context.package.folderName = kDisplayName;
        context.DerivePackageNames();
    }
    InstallOutcome RunInstall() {
        InstallChoices choices;
        choices.installDir = "C:\\kestrel-links\\install";
        ScriptedPrompts prompts;
        return Install(context, choices, prompts, nullptr);
    }
};

TEST_F(InstallationThroughALink, ADirectoryLinkBelowTheInstallDirectoryStopsTheRun) {
    WriteFileBytes(setup / "planted.txt", "through the link");
    context.package.entries.push_back({"linked\\planted.txt", false});
    const InstallOutcome outcome = RunInstall();
    EXPECT_EQ(outcome.stage, InstallStage::CopyFailed);
    EXPECT_EQ(outcome.problem.kind, ProblemKind::CannotCreateFile);
    EXPECT_EQ(outcome.problem.path, "C:\\kestrel-links\\install\\linked\\planted.txt");
    EXPECT_FALSE(FileExists("C:\\kestrel-links\\outside\\planted.txt"));
    EXPECT_TRUE(FileExists(setup / "planted.txt"));
}

TEST_F(InstallationThroughALink, AnObsoleteNameThroughADirectoryLinkStopsTheRun) {
    context.package.obsoleteNames = {"linked\\victim.txt"};
    const InstallOutcome outcome = RunInstall();
    EXPECT_EQ(outcome.stage, InstallStage::CopyFailed);
    EXPECT_EQ(outcome.problem.path, "C:\\kestrel-links\\install\\linked\\victim.txt");
    EXPECT_EQ(ReadFileBytes("C:\\kestrel-links\\outside\\victim.txt"), "not ours");
}

// The setup directory C:\kestrel-links\install holds "linked", a directory
// link to a folder of someone else's holding victim.txt.
class NestedSourceThroughALink : public InstallationTest {
protected:
    const std::string links = "C:\\kestrel-links";
    void SetUp() override {
        InstallationTest::SetUp();
        context.StartFrom(links + "\\install\\Setup.exe");
        context.package.entries = {{"linked\\victim.txt", false}};
    }
    void TearDown() override { ::DeleteFileA((links + "\\install\\victim.txt").c_str()); }
};

TEST_F(NestedSourceThroughALink, IsNotReadTheFlatFileIs) {
    WriteFileBytes(links + "\\install\\victim.txt", "the package's");
    const InstallOutcome outcome = RunInstall();
    ASSERT_EQ(outcome.stage, InstallStage::Installed) << ProblemText(outcome.problem);
    EXPECT_EQ(ReadFileBytes(App("linked\\victim.txt")), "the package's");
    EXPECT_FALSE(FileExists(links + "\\install\\victim.txt")) << "taken and cleared away";
    EXPECT_EQ(ReadFileBytes(links + "\\outside\\victim.txt"), "not ours");
}

TEST_F(NestedSourceThroughALink, IsNeitherDeletedNorItsFolderRemovedBySweep) {
    // As if the link came after the file was read from below it.
    const std::vector<PackagedSource> sources = {
        {links + "\\install\\linked\\victim.txt", false, true}};
    SweepNestedSources(links + "\\install", context.package, sources);
    EXPECT_EQ(ReadFileBytes(links + "\\outside\\victim.txt"), "not ours");
    EXPECT_TRUE(DirectoryExists(links + "\\install\\linked"));
}
