#include "resource.h"
#include "setup_app.h"
#include "setup_dat.h"
#include "test_support.h"

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
    EXPECT_EQ(context.theSetupDat.m_szSourceDir, dir.Path());
    EXPECT_EQ(context.theSetupDat.m_szInstallDir, "");
}
