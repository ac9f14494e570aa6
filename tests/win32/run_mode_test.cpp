#include "setup_app.h"

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

TEST(RunMode, UninstallRolesAreNotBuiltAndSaySo) {
    EXPECT_FALSE(theApp.HandOffUninstall());
    EXPECT_FALSE(theApp.RemoveInstallation());
}
