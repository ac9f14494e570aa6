#include "resource.h"
#include "setup_app.h"
#include "package.h"
#include "test_files.h"
#include "test_support.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

CSetupApp::RunMode Mode(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    return CSetupApp::ChooseRunMode(static_cast<int>(argv.size()), argv.data());
}

using Mode_ = CSetupApp::RunMode;

} // namespace

TEST(RunMode, NoArgumentOrAnyOtherFirstArgumentInstalls) {
    EXPECT_EQ(Mode({"Setup.exe"}), Mode_::Install);
    EXPECT_EQ(Mode({"Setup.exe", ""}), Mode_::Install);
    EXPECT_EQ(Mode({"Setup.exe", "/install"}), Mode_::Install);
    EXPECT_EQ(Mode({"Setup.exe", "/uninstallx"}), Mode_::Install);
    EXPECT_EQ(Mode({"Setup.exe", "/other", "a", "b", "c"}), Mode_::Install);
}

TEST(RunMode, TheSwitchsFirstCharacterIsNeverExamined) {
    EXPECT_EQ(Mode({"Setup.exe", "/uninstall"}), Mode_::HandOffUninstall);
    EXPECT_EQ(Mode({"Setup.exe", "-UNINSTALL"}), Mode_::HandOffUninstall);
    EXPECT_EQ(Mode({"Setup.exe", "xUnInStAlL"}), Mode_::HandOffUninstall);
    // The bare word compares only its last eight letters, so it installs.
    EXPECT_EQ(Mode({"Setup.exe", "uninstall"}), Mode_::Install);
}

TEST(RunMode, ArgumentCountChoosesBetweenTheUninstallRoles) {
    EXPECT_EQ(Mode({"Setup.exe", "/UNINSTALL", "C:\\App\\Setup.exe"}), Mode_::RemoveInstallation);
    EXPECT_EQ(Mode({"Setup.exe", "/uninstall", "a", "b"}), Mode_::Nothing);
    EXPECT_EQ(Mode({"Setup.exe", "/uninstall", "a", "b", "c"}), Mode_::Nothing);
}

TEST(RunMode, EveryOldFormKeepsItsRunAndOnlyTheNewSwitchesAreNew) {
    struct Row {
        const char* name;
        std::vector<std::string> args;
        Mode_ mode;
    };
    const Row rows[] = {
        {"no argument", {"Setup.exe"}, Mode_::Install},
        {"unknown first argument", {"Setup.exe", "/q"}, Mode_::Install},
        {"wizard with presets", {"Setup.exe", "/D=C:\\A B", "/GROUP=G"}, Mode_::Install},
        {"hand-off", {"Setup.exe", "/uninstall"}, Mode_::HandOffUninstall},
        {"removal role",
         {"Setup.exe", "-UNINSTALL", "C:\\A\\Setup.exe"},
         Mode_::RemoveInstallation},
        {"two more arguments", {"Setup.exe", "/uninstall", "a", "b"}, Mode_::Nothing},
        {"three more arguments", {"Setup.exe", "/uninstall", "a", "b", "c"}, Mode_::Nothing},
        {"silent removal with an unknown argument",
         {"Setup.exe", "/uninstall", "a", "/S", "c"},
         Mode_::BadCommandLine},
        {"silent install", {"Setup.exe", "/S"}, Mode_::SilentInstall},
        {"silent install with options",
         {"Setup.exe", "/s", "/NODESKTOP", "/LOG=C:\\l.log"},
         Mode_::SilentInstall},
        {"progress install", {"Setup.exe", "/SP"}, Mode_::ProgressInstall},
        {"silent with an unknown switch", {"Setup.exe", "/S", "/X"}, Mode_::BadCommandLine},
        {"silent hand-off", {"Setup.exe", "/UNINSTALL", "/S"}, Mode_::SilentHandOffUninstall},
        {"silent removal",
         {"Setup.exe", "/UNINSTALL", "C:\\A\\Setup.exe", "/S", "/LOG=C:\\l"},
         Mode_::SilentRemoveInstallation},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Mode(row.args), row.mode) << row.name;
}

namespace {

// Runs InitInstance as if the program had been started with `args`.
BOOL InitInstanceWith(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    char** savedArgv = __argv;
    int savedArgc = __argc;
    __argv = argv.data();
    __argc = static_cast<int>(args.size());
    BOOL result = theApp.InitInstance();
    __argv = savedArgv;
    __argc = savedArgc;
    return result;
}

} // namespace

TEST(InitInstance, RefusesAProgramPathLongerThanItCanKeep) {
    ScriptedUserInterface ui;
    const std::string longPath = "C:\\" + std::string(1100, 'd') + "\\Setup.exe";
    EXPECT_FALSE(InitInstanceWith({longPath}));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_PATH_TOO_LONG, longPath));
}

TEST(InitInstance, NamesTheRecordAfterTheProgramAndPointsThePackageAtItsDirectory) {
    ScriptedUserInterface ui;
    TempDir dir;
    EXPECT_FALSE(InitInstanceWith({dir / "MySetup.exe", "/uninstall", "a", "b"}));
    EXPECT_TRUE(ui.boxes.empty());
    const SetupContext& context = theApp.m_context;
    EXPECT_EQ(context.g_szSetupPath, dir / "MySetup.exe");
    EXPECT_EQ(context.g_strInfoFileName, "MySetupInfo.dat");
    EXPECT_EQ(context.SetupDirectory(), dir.Path());
    EXPECT_EQ(context.installDir, "");
}

TEST(InitInstance, SilentInstallWithAnUnknownSwitchEndsWith87AndLogsWithoutABox) {
    ScriptedUserInterface ui;
    TempDir dir;
    const std::string log = dir / "run.log";
    EXPECT_FALSE(InitInstanceWith({dir / "Setup.exe", "/S", "/FAST", "/LOG=" + log}));
    EXPECT_EQ(theApp.m_nExitCode, 87);
    EXPECT_TRUE(ui.boxes.empty());
    const std::string text = ReadFileBytes(log);
    EXPECT_NE(text.find("/FAST"), std::string::npos) << text;
    EXPECT_NE(text.find("Exit code 87"), std::string::npos) << text;
}

TEST(InitInstance, SilentInstallWithoutAPackageLogsTheMessagesAndEndsWithPackageInvalid) {
    ScriptedUserInterface ui;
    TempDir dir;
    const std::string log = dir / "run.log";
    EXPECT_FALSE(InitInstanceWith({dir / "Setup.exe", "/S", "/LOG=" + log}));
    EXPECT_EQ(theApp.m_nExitCode, 2);
    EXPECT_TRUE(ui.boxes.empty()) << "no box reaches the user interface";
    const std::string text = ReadFileBytes(log);
    std::string message = Formatted(IDS_CANNOT_OPEN_FILE, dir / "Setup.dat");
    std::replace(message.begin(), message.end(), '\n', ' '); // one line an entry
    EXPECT_NE(text.find("Message: " + message), std::string::npos) << text;
    EXPECT_NE(text.find("Exit code 2"), std::string::npos) << text;
}
