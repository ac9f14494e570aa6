// The real installer without a user: started with /S, it must show no window
// at all, install what the wizard installs with the same defaults or the
// command line's choices, say how it ended in its exit code and its log, and
// be removed again through QuietUninstallString by a caller that simply
// waits for it to end.
#include "installer_fixture.h"
#include "test_files.h"

#include <algorithm>
#include <functional>

namespace {

using namespace installertest;
using windowdriver::RunResult;

// The copy run's progress window, as the driver names it, or as it names a
// window that went again before its class and caption could be read (the
// progress window of a short run lasts a moment).
bool IsProgressWindow(const std::string& window) {
    return window == "#32770 \"Setup\"" || window == " \"\"";
}

// Every silent run: started, ended by itself, no box and no other window but,
// with /SP, the progress window.
void ExpectNoWindowAndExitCode(const RunResult& run, DWORD exitCode, bool progressShown = false) {
    ASSERT_TRUE(run.started) << run.error;
    EXPECT_TRUE(run.exited) << run.Describe();
    EXPECT_EQ(run.exitCode, exitCode) << run.Describe();
    EXPECT_TRUE(run.boxes.empty()) << run.Describe();
    for (const std::string& window : run.otherWindows)
        if (!progressShown || !IsProgressWindow(window))
            ADD_FAILURE() << "a window was shown: " << window << "\n" << run.Describe();
}

// Fails for each of `expected` that the log does not hold, naming it.
void ExpectLogLines(const std::string& log,
                    const std::vector<std::pair<const char*, std::string>>& expected) {
    for (const auto& [name, text] : expected)
        EXPECT_NE(log.find(text), std::string::npos) << name << ": \"" << text << "\" in\n" << log;
}

std::string TemporaryDirectory() {
    char path[MAX_PATH];
    const DWORD length = ::GetTempPathA(MAX_PATH, path);
    return std::string(path, length);
}

class SilentInstaller : public Installer {
protected:
    // Runs to the end, noting every window rather than stopping at the
    // first, so that /SP's progress window may show.
    RunResult RunSetup(const std::string& arguments) {
        windowdriver::RunOptions options;
        options.stopAtOtherWindow = false;
        return windowdriver::RunAnsweringMessageBoxes(setup_ / "Setup.exe", CommandLine(arguments),
                                                      setup_.Path(), options);
    }
    std::string Log() const { return ReadFileBytes(log_); }

    const std::string log_ = setup_ / "install.log";
};

TEST_F(SilentInstaller, EveryOptionInstallsWithoutAWindowAndQuietUninstallRemovesAllOnceItEnds) {
    WritePackage(true); // the license is taken as accepted
    const MachineSnapshot before = SnapshotBeforeInstalling();
    const std::string group = programs_ + "\\Kestrel Group";
    // The directory quoted as a whole, the group's value quoted: the C
    // runtime hands both over without their quotes.
    const RunResult install =
        RunSetup("/s \"/D=" + install_ + "\" /GROUP=\"Kestrel Group\" /NoDesktop /AUTOSTART " +
                 "/LAUNCH \"/LOG=" + log_ + "\"");
    ExpectNoWindowAndExitCode(install, 0);

    EXPECT_EQ(ReadFileBytes(install_ + "\\docs\\readme.txt"), kReadme);
    EXPECT_EQ(ReadFileBytes(install_ + "\\URL.txt"), "https://kestrel.invalid/");
    EXPECT_EQ(ReadLink(group + "\\Kestrel Test 2.lnk").target, install_ + "\\App.exe");
    EXPECT_EQ(ReadLink(group + "\\Uninstall.lnk").arguments, " /UNINSTALL");
    EXPECT_FALSE(FileExists(ShellFolder(CSIDL_DESKTOP) + "\\Kestrel Test 2.lnk")) << "/NODESKTOP";
    const std::string uninstaller = "\"" + install_ + "\\Setup.exe\" /UNINSTALL";
    EXPECT_EQ(RegistryString(kUninstallKey, "UninstallString"), uninstaller);
    const std::string quiet = RegistryString(kUninstallKey, "QuietUninstallString");
    EXPECT_EQ(quiet, uninstaller + " /S");
    EXPECT_FALSE(RegistryValueExists(kUninstallKey, "DisplayVersion")) << "the index has none";
    EXPECT_FALSE(RegistryValueExists(kUninstallKey, "Publisher")) << "the index has none";
    EXPECT_EQ(RegistryString(kRunKey, "KestrelApp"), "\"" + install_ + "\\App.exe\"");
    EXPECT_EQ(ReadFileBytes(install_ + "\\SetupInfo.dat"), ExpectedRecord(group, false, true));
    EXPECT_NE(Launched("App.exe"), "") << "/LAUNCH";
    EXPECT_EQ(Launched("Post.exe").substr(0, Launched("Post.exe").find('\n')),
              "\"" + install_ + "\\Post.exe\" /I");
    EXPECT_FALSE(FileExists(setup_ / "Setup.dat")) << "the package is cleared away";
    ExpectLogLines(Log(), {{"command line", "Command line: " + CommandLine().substr(0, 20)},
                           {"package", "Package: " + setup_ / "Setup.dat"},
                           {"install directory", "Directory made: " + install_},
                           {"subdirectory", "Directory made: " + install_ + "\\docs"},
                           {"file", "Writing file: " + install_ + "\\docs\\readme.txt"},
                           {"group shortcut", "Made: " + group + "\\Kestrel Test 2.lnk"},
                           {"quiet uninstall value", "Registry value made: HKEY_CURRENT_USER\\" +
                                                         std::string(kUninstallKey) +
                                                         "\\QuietUninstallString = " + quiet},
                           {"auto-start value", "Registry value made: HKEY_CURRENT_USER\\" +
                                                    std::string(kRunKey) + "\\KestrelApp"},
                           {"post-install program", "Started: \"" + install_ + "\\Post.exe\" /I"},
                           {"exit code", "Exit code 0"}});

    // As a package manager removes it: start the recorded command, wait for
    // its end, and look at once; nothing may be left to finish afterwards.
    // The removal appends to the default log; an earlier run's lines stay.
    const std::string removalLog = TemporaryDirectory() + "Setup.log";
    const bool logWasThere = FileExists(removalLog);
    const size_t earlierBytes = ReadFileBytes(removalLog).size();
    const RunResult removal =
        windowdriver::RunAnsweringMessageBoxes(install_ + "\\Setup.exe", quiet, install_);
    ExpectNoWindowAndExitCode(removal, 0);
    const std::string removalText = ReadFileBytes(removalLog).substr(earlierBytes);
    if (!logWasThere) // the log is the test's to read, not a leftover
        ::DeleteFileA(removalLog.c_str());
    ExpectNothingLeft(before, MachineSnapshot::Take({setup_.Path(), launches_.Path()}));
    ExpectLogLines(removalText,
                   {{"hand-off", "Waiting for the temporary copy"},
                    {"a removed file", "Removed " + install_ + "\\docs\\readme.txt"},
                    {"the removed directory", "Removed the install directory " + install_},
                    {"copy's code", "The temporary copy ended with exit code 0"},
                    {"exit code", "Exit code 0"}});
}

TEST_F(SilentInstaller, FailedRunEndsWithItsCodeLeavesNothingAndTheLogNamesTheCause) {
    struct Row {
        const char* name;
        std::function<void()> prepare;
        std::string arguments;
        DWORD exitCode;
        std::vector<std::pair<const char*, std::string>> logged;
    };
    UniqueFileHandle locked;
    // Wine may name the folder with a trailing backslash, which would turn
    // the closing quote into a quote of the directory's.
    std::string documents = ShellFolder(CSIDL_PERSONAL);
    if (!documents.empty() && documents.back() == '\\')
        documents.pop_back();
    const std::string lockedIcon = install_ + "\\AppIcon.ico";
    const std::string directory = "\"/D=" + install_ + "\"";
    const Row rows[] = {
        {"damaged packaged file",
         [&] { WritePackage(false, true); },
         "/S " + directory,
         5,
         {{"message", "Message: The file " + setup_ / "readme.txt" + " is invalid."},
          {"undone", "The run was undone"},
          {"undone file", "Removed: " + install_ + "\\App.exe"}}},
        {"locked target",
         [&] {
             WritePackage(false);
             ASSERT_TRUE(::CreateDirectoryA(install_.c_str(), nullptr));
             WriteFileBytes(lockedIcon, "the user's icon");
             locked.reset(::CreateFileA(lockedIcon.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        0, nullptr));
             ASSERT_TRUE(locked);
         },
         "/SP " + directory,
         4,
         {{"in use", "File in use by another program, not retried: " + lockedIcon},
          {"undone", "The run was undone"},
          {"undone directory", "Removed: " + install_ + "\\docs"}}},
        {"uncreatable directory",
         [&] { WritePackage(false); },
         "/S \"/D=C:\\bad<name>\\App\"",
         3,
         {{"message", "Message: Setup can not create the destination directory"}}},
        {"missing package",
         [&] { ::DeleteFileA((setup_ / "Setup.dat").c_str()); },
         "/S",
         2,
         {{"message", "Message: Can not open the file " + setup_ / "Setup.dat"}}},
        {"unknown switch", [&] { WritePackage(false); }, "/S /FAST", 87, {{"refused", "/FAST"}}},
        {"a drive's root",
         [&] { WritePackage(false); },
         "/S /D=C:\\",
         3,
         {{"message", "Message: Setup can not create the destination directory"}}},
        {"a verbatim directory",
         [&] { WritePackage(false); },
         "/S \"/D=\\\\?\\" + install_ + "\"",
         3,
         {{"message", "Message: Setup can not create the destination directory"}}},
        {"a trailing dot",
         [&] { WritePackage(false); },
         "/S \"/D=" + install_ + ".\"",
         3,
         {{"message", "Message: Setup can not create the destination directory"}}},
        {"the user's Documents",
         [&] { WritePackage(false); },
         "/S \"/D=" + documents + "\"",
         3,
         {{"message", "Message: Setup can not create the destination directory"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.prepare();
        const RunResult run = RunSetup(row.arguments + " \"/LOG=" + log_ + "\"");
        ExpectNoWindowAndExitCode(run, row.exitCode, row.arguments.rfind("/SP", 0) == 0);
        const std::string log = Log();
        ExpectLogLines(log, row.logged);
        EXPECT_NE(log.find("Exit code " + std::to_string(row.exitCode)), std::string::npos) << log;
        if (locked) {
            EXPECT_EQ(FilesMatching(install_, "*"), std::vector<std::string>{"AppIcon.ico"})
                << "only what was there before";
            EXPECT_FALSE(DirectoryExists(install_ + "\\docs"));
            locked.reset();
        } else {
            EXPECT_FALSE(DirectoryExists(install_)) << "the run's own directory is gone again";
        }
        EXPECT_FALSE(RegistryKeyExists(kUninstallKey));
        EXPECT_EQ(Launched("App.exe") + Launched("Post.exe"), "") << "nothing is started";
        RemoveTree(install_);
        ::DeleteFileA(log_.c_str());
    }
}

TEST_F(SilentInstaller, UnquotedDirectoryLastKeepsTheUsersFoldersAndAFileInUseEndsWith3010) {
    WritePackage(false);
    // The user's folders stand there before the installation, empty or not.
    for (const std::string& folder :
         {install_, install_ + "\\Empty", install_ + "\\docs", install_ + "\\docs\\Mine"})
        ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    const MachineSnapshot before = SnapshotBeforeInstalling();
    // As package managers write it: /D= last, unquoted, blanks and all. A
    // relative log lies where the program was started.
    ASSERT_NE(install_.find(' '), std::string::npos) << "the directory must hold a blank";
    ExpectNoWindowAndExitCode(RunSetup("/S /LOG=relative.log /NORESTART /D=" + install_), 0);
    const std::string installLog = ReadFileBytes(setup_ / "relative.log");
    ExpectLogLines(installLog, {{"directory", "Install directory: " + install_},
                                {"no restart", "/NORESTART"},
                                {"exit code", "Exit code 0"}});
    EXPECT_TRUE(FileExists(install_ + "\\docs\\readme.txt"));

    // Another program holds a file of the installation: it goes at the next
    // restart, and the exit code says that the restart completes the removal.
    const std::string busy = install_ + "\\docs\\readme.txt";
    UniqueFileHandle held(::CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const RunResult removal = windowdriver::RunAnsweringMessageBoxes(
        install_ + "\\Setup.exe",
        "\"" + install_ + "\\Setup.exe\" /UNINSTALL \"/LOG=" + log_ + "\" /S /NORESTART", install_);
    held.reset();
    ExpectNoWindowAndExitCode(removal, 3010);
    ExpectLogLines(Log(), {{"in use", "Scheduled for removal at restart: " + busy},
                           {"another file", "Removed " + install_ + "\\App.exe"},
                           {"no restart", "/NORESTART"},
                           {"copy's code", "The temporary copy ended with exit code 3010"},
                           {"exit code", "Exit code 3010"}});
    ExpectNothingLeft(before, MachineSnapshot::Take({setup_.Path(), launches_.Path()}));
    EXPECT_TRUE(DirectoryExists(install_ + "\\docs\\Mine"));
}

TEST_F(SilentInstaller, ALogThatCannotBeMadeStopsTheRunBeforeAnythingIsInstalled) {
    WritePackage(false);
    const std::string missing = setup_ / "missing\\install.log";
    const RunResult run = RunSetup("/S \"/LOG=" + missing + "\" \"/D=" + install_ + "\"");
    ExpectNoWindowAndExitCode(run, 8);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(DirectoryExists(install_)) << "nothing is installed";
    EXPECT_FALSE(RegistryKeyExists(kUninstallKey));
    EXPECT_TRUE(FileExists(setup_ / "Setup.dat")) << "the package stays";
    EXPECT_EQ(Launched("Post.exe"), "") << "nothing is started";
}

TEST_F(SilentInstaller, ForTheCurrentUserAloneEverythingLandsInTheUsersOwnPlaces) {
    WritePackage(false);
    const MachineSnapshot before = SnapshotBeforeInstalling();
    ExpectNoWindowAndExitCode(RunSetup("/S /CURRENTUSER \"/LOG=" + log_ + "\""), 0);
    const std::string directory =
        ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\" + std::string(kFolderName);
    const std::string group = ShellFolder(CSIDL_PROGRAMS) + "\\" + std::string(kFolderName);
    EXPECT_EQ(ReadFileBytes(directory + "\\docs\\readme.txt"), kReadme);
    EXPECT_EQ(ReadLink(group + "\\Kestrel Test 2.lnk").target, directory + "\\App.exe");
    EXPECT_FALSE(DirectoryExists(programs_ + "\\" + std::string(kFolderName)))
        << "nothing in the places of everyone";
    EXPECT_EQ(RegistryString(kUninstallKey, "InstallLocation"), directory);
    const RunResult removal = RunQuietUninstall(directory);
    ExpectNoWindowAndExitCode(removal, 0);
    ExpectNothingLeft(before, MachineSnapshot::Take({setup_.Path(), launches_.Path()}));
}

TEST_F(SilentInstaller, OneRunOfAProductAtATimeTheOtherEndsWith1618) {
    WritePackage(false);
    {
        // Another run of the product, as far as the lock can tell.
        UniqueKernelHandle other(
            ::CreateMutexA(nullptr, TRUE, "Local\\KestrelSetup:Kestrel Test 2"));
        ASSERT_TRUE(other);
        const RunResult run = RunSetup("/S \"/D=" + install_ + "\" \"/LOG=" + log_ + "\"");
        ExpectNoWindowAndExitCode(run, 1618);
        EXPECT_NE(
            Log().find("Message: Another installation or removal of Kestrel Test 2 is under way."),
            std::string::npos)
            << Log();
        EXPECT_FALSE(DirectoryExists(install_)) << "nothing is done";
        ::ReleaseMutex(other.get());
    }
    // Two at once, as two deployment jobs start them: each ends as it should
    // (the one that came second with 1618, or after the first with 0), and
    // one whole installation stands.
    windowdriver::Process first, second;
    std::string error;
    const std::string arguments = "/S \"/D=" + install_ + "\" \"/LOG=" + setup_ / "two.log" + "\"";
    ASSERT_TRUE(first.Start(setup_ / "Setup.exe", CommandLine(arguments), setup_.Path(), error));
    ASSERT_TRUE(second.Start(setup_ / "Setup.exe", CommandLine(arguments), setup_.Path(), error));
    ASSERT_TRUE(first.WaitForExit(60000) && second.WaitForExit(60000));
    const std::vector<DWORD> codes = {first.ExitCode(), second.ExitCode()};
    EXPECT_TRUE(codes[0] == 0 || codes[1] == 0) << codes[0] << " " << codes[1];
    for (DWORD code : codes)
        EXPECT_TRUE(code == 0 || code == 1618) << code;
    EXPECT_EQ(ReadFileBytes(install_ + "\\docs\\readme.txt"), kReadme);
    EXPECT_EQ(RegistryString(kUninstallKey, "InstallLocation"), install_);
}

TEST_F(SilentInstaller, QuietUninstallEndsWithTheCopysCodeWhenTheRecordIsGone) {
    WritePackage(false);
    ExpectNoWindowAndExitCode(
        RunSetup("/S \"/D=" + install_ + "\" \"/GROUP=Kestrel Group\" \"/LOG=" + log_ + "\""), 0);
    const std::string record = install_ + "\\SetupInfo.dat";
    const std::string quiet = RegistryString(kUninstallKey, "QuietUninstallString");
    // A log that cannot be made stops the removal before it starts.
    const RunResult unlogged = windowdriver::RunAnsweringMessageBoxes(
        install_ + "\\Setup.exe", quiet + " \"/LOG=" + setup_ / "missing\\removal.log\"", install_);
    ExpectNoWindowAndExitCode(unlogged, 8);
    EXPECT_TRUE(FileExists(record)) << "nothing is removed";
    EXPECT_TRUE(FileExists(install_ + "\\App.exe")) << "nothing is removed";
    ASSERT_TRUE(::DeleteFileA(record.c_str()));
    const std::string removalLog = setup_ / "removal.log";
    const RunResult removal = windowdriver::RunAnsweringMessageBoxes(
        install_ + "\\Setup.exe", quiet + " \"/LOG=" + removalLog + "\"", install_);
    ExpectNoWindowAndExitCode(removal, 7);
    ExpectLogLines(ReadFileBytes(removalLog),
                   {{"message", "Message: Can not open the Setup info file " + record},
                    {"copy's code", "The temporary copy ended with exit code 7"},
                    {"exit code", "Exit code 7"}});
    EXPECT_TRUE(RegistryKeyExists(kUninstallKey)) << "nothing recorded is removed";
}

TEST_F(SilentInstaller, WithoutOptionsTakesTheWizardsDefaultsAndLogsBesideTheTemporaryFiles) {
    WritePackage(true);
    // Where the wizard's pages would have started: the directory page's
    // default directory, the group page's default group.
    install_ = programFiles_ + "\\" + kFolderName;
    const std::string group = programs_ + "\\" + kFolderName;
    struct GroupGuard {
        std::string path;
        ~GroupGuard() { RemoveTree(path); }
    } groupGuard{group};
    const std::string log = TemporaryDirectory() + "Setup.log";
    const bool logWasThere = FileExists(log);
    const size_t earlierBytes = ReadFileBytes(log).size();

    ExpectNoWindowAndExitCode(RunSetup("/S"), 0);
    const std::string logged = ReadFileBytes(log).substr(earlierBytes);
    if (!logWasThere)
        ::DeleteFileA(log.c_str());
    EXPECT_EQ(ReadFileBytes(install_ + "\\SetupInfo.dat"), ExpectedRecord(group, true, false));
    EXPECT_EQ(ReadLink(ShellFolder(CSIDL_DESKTOP) + "\\Kestrel Test 2.lnk").target,
              install_ + "\\App.exe");
    EXPECT_EQ(Launched("App.exe"), "") << "not launched without /LAUNCH";
    EXPECT_NE(Launched("Post.exe"), "") << "the post-install program runs";
    EXPECT_FALSE(RegistryValueExists(kRunKey, "KestrelApp")) << "no auto-start without /AUTOSTART";
    ExpectLogLines(logged, {{"install directory", "Install directory: " + install_},
                            {"program group", "Program group: " + group},
                            {"exit code", "Exit code 0"}});
}

} // namespace
