// A new version over an old one, as a user and an administrator meet it: the
// real Setup.exe installs version 1 with choices of its own, then version 2
// (a file dropped, one added, one changed) lands where version 1 is with the
// same choices, a third run moves the group, and one uninstallation leaves
// the machine as it was before version 1. A failed update leaves version 1
// exactly as it was.
#include "installer_fixture.h"
#include "package_identity.h"
#include "package_index.h"
#include "packaged_file.h"
#include "test_files.h"
#include "wizard_driver.h"

namespace {

using namespace installertest;
using windowdriver::Process;
using windowdriver::RunResult;
using wizarddriver::Wizard;

constexpr int kInstallDir = 1000, kGroupName = 1012, kDesktop = 1014, kQuickLaunch = 1015,
              kAutoStart = 1018;

class Update : public Installer {
protected:
    void SetUp() override {
        Installer::SetUp();
        install_ = root_ + "\\Custom\\App";
    }
    void TearDown() override {
        Installer::TearDown();
        for (const char* group : {"One", "Two"})
            RemoveTree(programs_ + "\\" + group);
        RemoveTree(root_);
    }

    // Version 1 holds only-v1.txt in a folder of its own; version 2 drops
    // it, adds only-v2.txt in another, and changes the readme.
    void WriteVersion(int version, bool damaged = false,
                      const std::string& stated = std::string()) {
        const std::string recorder = ReadFileBytes(OwnDirectory() + "\\launch_recorder.exe");
        setupcore::PackageIndex index;
        index.appExe = "App.exe";
        index.folderName = kFolderName;
        const auto add = [&](const std::string& name, const std::string& bytes) {
            index.files.push_back({name, 1});
            std::string packed = setupcore::PackBytes(bytes);
            if (damaged && name == "docs\\readme.txt")
                packed[packed.size() / 2] ^= 0x5A;
            WriteFileBytes(setup_ / name.substr(name.find_last_of('\\') + 1), packed);
        };
        add("App.exe", recorder);
        add("docs\\readme.txt", "version " + std::to_string(version));
        add(version == 1 ? "old\\only-v1.txt" : "new\\only-v2.txt", "only here");
        add("AppIcon.ico", "icon");
        index.files.push_back({"Setup.exe", 0});
        index.files.push_back({"zlib1.dll", 0});
        // The version the publisher states, after the index's last entry.
        WriteFileBytes(setup_ / "Setup.dat",
                       setupcore::EncodePackageIndex(index) +
                           setupcore::EncodePackageIdentity(
                               {stated.empty() ? std::to_string(version) + ".0" : stated,
                                "Kestrel Software"}));
        ASSERT_TRUE(CopySetupProgram(setup_.Path(), "Setup.exe"));
    }
    RunResult RunSilently(const std::string& arguments) {
        windowdriver::RunOptions options;
        options.stopAtOtherWindow = false;
        return windowdriver::RunAnsweringMessageBoxes(
            setup_ / "Setup.exe", CommandLine(arguments + " \"/LOG=" + log_ + "\""), setup_.Path(),
            options);
    }
    void InstallVersion1() {
        WriteVersion(1);
        const RunResult run =
            RunSilently("/S \"/D=" + install_ + "\" /GROUP=One /AUTOSTART /NODESKTOP");
        ASSERT_EQ(run.exitCode, 0u) << run.Describe() << ReadFileBytes(log_);
        ASSERT_TRUE(FileExists(install_ + "\\old\\only-v1.txt"));
    }
    // What the machine holds of an installation in `group` with auto-start
    // and without a desktop link, for `version`.
    void ExpectVersion(int version, const std::string& group) {
        SCOPED_TRACE("version " + std::to_string(version) + " in group " + group);
        EXPECT_EQ(ReadFileBytes(install_ + "\\docs\\readme.txt"),
                  "version " + std::to_string(version));
        EXPECT_EQ(FileExists(install_ + "\\old\\only-v1.txt"), version == 1);
        EXPECT_EQ(DirectoryExists(install_ + "\\old"), version == 1);
        EXPECT_EQ(FileExists(install_ + "\\new\\only-v2.txt"), version == 2);
        EXPECT_EQ(ReadLink(programs_ + "\\" + group + "\\Kestrel Test 2.lnk").target,
                  install_ + "\\App.exe");
        EXPECT_FALSE(FileExists(ShellFolder(CSIDL_DESKTOP) + "\\Kestrel Test 2.lnk"));
        EXPECT_EQ(RegistryString(kRunKey, "KestrelApp"), "\"" + install_ + "\\App.exe\"");
        EXPECT_EQ(RegistryString(kUninstallKey, "InstallLocation"), install_);
        EXPECT_EQ(RegistryString(kUninstallKey, "DisplayVersion"), std::to_string(version) + ".0");
        EXPECT_EQ(RegistryString(kUninstallKey, "Publisher"), "Kestrel Software");
        EXPECT_EQ(RegistryNumber(kUninstallKey, "VersionMajor"), static_cast<DWORD>(version));
        EXPECT_EQ(RegistryString(kUninstallKey, "InstallDate").size(), 8u) << "YYYYMMDD";
        const std::string record = ReadFileBytes(install_ + "\\SetupInfo.dat");
        EXPECT_EQ(record.find("only-v" + std::to_string(3 - version)), std::string::npos)
            << "the record holds what the installation holds, nothing else";
    }

    const std::string root_ = "C:\\kestrel-update-test";
    const std::string log_ = setup_ / "update.log";
};

TEST_F(Update, LandsWhereTheOldOneIsKeepsItsChoicesLeavesNothingOfItAndUninstallsWhole) {
    const MachineSnapshot before = SnapshotBeforeInstalling();
    InstallVersion1();
    ExpectVersion(1, "One");

    // Silently, without options: there, with version 1's choices.
    WriteVersion(2);
    ASSERT_EQ(RunSilently("/S").exitCode, 0u) << ReadFileBytes(log_);
    ExpectVersion(2, "One");
    EXPECT_NE(ReadFileBytes(log_).find("Updating the installation in " + install_),
              std::string::npos);
    EXPECT_NE(ReadFileBytes(log_).find("Version 2.0 replaces version 1.0"), std::string::npos);

    // Again, moving the group and turning auto-start off: the old group goes.
    // The same version once more also repairs what went missing or bad.
    ASSERT_TRUE(::DeleteFileA((install_ + "\\new\\only-v2.txt").c_str()));
    WriteFileBytes(install_ + "\\docs\\readme.txt", "damaged");
    WriteVersion(2);
    ASSERT_EQ(RunSilently("/S /GROUP=Two /NOAUTOSTART").exitCode, 0u) << ReadFileBytes(log_);
    EXPECT_FALSE(DirectoryExists(programs_ + "\\One"));
    EXPECT_EQ(ReadLink(programs_ + "\\Two\\Uninstall.lnk").arguments, " /UNINSTALL");
    EXPECT_FALSE(RegistryValueExists(kRunKey, "KestrelApp"));
    EXPECT_EQ(ReadFileBytes(install_ + "\\docs\\readme.txt"), "version 2") << "repaired";
    EXPECT_TRUE(FileExists(install_ + "\\new\\only-v2.txt")) << "repaired";

    const RunResult removal = RunQuietUninstall(install_);
    EXPECT_EQ(removal.exitCode, 0u) << removal.Describe();
    ExpectNothingLeft(before, MachineSnapshot::Take({setup_.Path(), launches_.Path()}));
}

TEST_F(Update, TheWizardProposesTheInstalledDirectoryGroupAndSettings) {
    InstallVersion1();
    WriteVersion(2);
    Process setup;
    std::string error;
    ASSERT_TRUE(setup.Start(setup_ / "Setup.exe", CommandLine(), setup_.Path(), error)) << error;
    Wizard wizard(setup);
    ASSERT_TRUE(wizard.WaitForSheet());
    EXPECT_EQ(wizard.Text(kInstallDir), install_);
    ASSERT_TRUE(wizard.Press(wizarddriver::kNext));
    EXPECT_EQ(wizard.Text(kGroupName), "One");
    EXPECT_FALSE(wizard.IsChecked(kDesktop)) << "version 1 had no desktop link";
    EXPECT_TRUE(wizard.IsChecked(kQuickLaunch)) << "version 1 was asked for one";
    EXPECT_TRUE(wizard.IsChecked(kAutoStart));
    wizard.SetChecked(1016, false); // no launch
    ASSERT_TRUE(wizard.Press(wizarddriver::kFinish));
    ASSERT_TRUE(setup.WaitForExit(30000));
    EXPECT_EQ(setup.ExitCode(), 0u);
    ExpectVersion(2, "One");
}

TEST_F(Update, AFailedUpdateLeavesTheOldVersionExactlyAsItWas) {
    InstallVersion1();
    const MachineSnapshot installed = MachineSnapshot::Take({setup_.Path(), launches_.Path()});
    const std::string record = ReadFileBytes(install_ + "\\SetupInfo.dat");
    const std::string madeList = ReadFileBytes(install_ + "\\SetupMade.dat");
    WriteVersion(2, true);
    EXPECT_EQ(RunSilently("/S /GROUP=Two /DESKTOP").exitCode, 5u) << ReadFileBytes(log_);
    ExpectVersion(1, "One");
    EXPECT_EQ(ReadFileBytes(install_ + "\\SetupInfo.dat"), record);
    EXPECT_EQ(ReadFileBytes(install_ + "\\SetupMade.dat"), madeList);
    ExpectNothingLeft(installed, MachineSnapshot::Take({setup_.Path(), launches_.Path()}));
}

TEST_F(Update, InstalledElsewhereTheOldDirectoryGoesAndTheEntryPointsAtTheNew) {
    InstallVersion1();
    const std::string old = install_;
    install_ = root_ + "\\Elsewhere\\App";
    WriteVersion(2, false, "0.9");
    ASSERT_EQ(RunSilently("/S \"/D=" + install_ + "\"").exitCode, 0u) << ReadFileBytes(log_);
    EXPECT_NE(ReadFileBytes(log_).find("Version 0.9 replaces version 1.0: a downgrade"),
              std::string::npos)
        << "allowed, and said";
    EXPECT_EQ(RegistryString(kUninstallKey, "DisplayVersion"), "0.9");
    EXPECT_EQ(ReadFileBytes(install_ + "\\docs\\readme.txt"), "version 2");
    EXPECT_EQ(RegistryString(kUninstallKey, "InstallLocation"), install_);
    EXPECT_FALSE(DirectoryExists(old)) << "nothing of version 1 stays";
    EXPECT_FALSE(DirectoryExists(root_ + "\\Custom")) << "nor the folders it made";
}

} // namespace
