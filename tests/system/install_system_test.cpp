// The real installer under Wine, driven through its wizard from this process
// as a user would, then checked on the disk, in the registry, in its links
// and in its install record; and removed again through its uninstall entry.
#include "installer_fixture.h"
#include "test_files.h"
#include "wizard_driver.h"

#include <algorithm>

namespace {

using namespace installertest;
using windowdriver::Process;
using wizarddriver::Wizard;

class WizardInstaller : public Installer {
protected:
    bool Start(Process& process) {
        std::string error;
        EXPECT_TRUE(process.Start(setup_ / "Setup.exe", CommandLine(), setup_.Path(), error))
            << error;
        return process.Started();
    }
    // Answers the program's message box with OK and returns its text.
    std::string AnswerMessageBox(Wizard& wizard) {
        HWND box = wizard.MessageBox();
        windowdriver::MessageBoxContent content;
        if (!box || !windowdriver::ReadMessageBox(box, content))
            return "<no message box>";
        windowdriver::PressButton(box, IDOK);
        windowdriver::WaitUntilGone(box, 10000);
        return content.text;
    }
};

TEST_F(WizardInstaller, WizardInstallsEverythingAndItsUninstallEntryRemovesItAgain) {
    WritePackage(true);
    const MachineSnapshot before = SnapshotBeforeInstalling();

    Process setup;
    ASSERT_TRUE(Start(setup));
    Wizard wizard(setup);
    ASSERT_TRUE(wizard.WaitForSheet());
    EXPECT_EQ(wizard.PageTitle(), "License Agreement");
    EXPECT_EQ(wizard.Text(1011), "Terms\r\nof use");
    EXPECT_EQ(wizard.ButtonText(wizarddriver::kNext), "I Agree");
    EXPECT_FALSE(wizard.ButtonVisible(wizarddriver::kBack));

    ASSERT_TRUE(wizard.Press(wizarddriver::kNext));
    EXPECT_EQ(wizard.PageTitle(), "Install Directory");
    EXPECT_EQ(wizard.Text(1004), "Welcome to App.exe");
    EXPECT_EQ(wizard.Text(1006), "This program will install App.exe on your computer");
    EXPECT_EQ(wizard.Text(1000), "C:\\Program Files\\" + std::string(kFolderName));
    EXPECT_EQ(wizard.ButtonText(wizarddriver::kNext), "&Next >");
    EXPECT_TRUE(wizard.ButtonVisible(wizarddriver::kBack));
    wizard.SetText(1000, install_);
    ASSERT_TRUE(wizard.Press(wizarddriver::kBack));
    EXPECT_EQ(wizard.ButtonText(wizarddriver::kNext), "I Agree") << "back on the license page";
    EXPECT_FALSE(wizard.ButtonVisible(wizarddriver::kBack));
    ASSERT_TRUE(wizard.Press(wizarddriver::kNext));
    EXPECT_EQ(wizard.Text(1000), install_) << "the typed directory is kept";

    ASSERT_TRUE(wizard.Press(wizarddriver::kNext));
    EXPECT_EQ(wizard.PageTitle(), "Group and Settings");
    EXPECT_EQ(wizard.Text(1012), kFolderName);
    EXPECT_EQ(wizard.Text(1016), "Launch App.exe");
    for (int box : {1014, 1015, 1016})
        EXPECT_TRUE(wizard.IsChecked(box)) << box;
    EXPECT_FALSE(wizard.IsChecked(1018));
    EXPECT_EQ(wizard.ButtonText(wizarddriver::kFinish), "Install");
    std::vector<std::string> groups = wizard.ListItems(1013);
    ASSERT_GE(groups.size(), 2u);
    EXPECT_TRUE(std::is_sorted(groups.begin(), groups.end(),
                               [](const std::string& a, const std::string& b) {
                                   return _stricmp(a.c_str(), b.c_str()) < 0;
                               }));
    const auto alpha = std::find(groups.begin(), groups.end(), "Alpha");
    ASSERT_NE(alpha, groups.end());
    EXPECT_NE(std::find(groups.begin(), groups.end(), "beta"), groups.end());
    wizard.PickListItem(1013, static_cast<int>(alpha - groups.begin()));
    EXPECT_EQ(wizard.Text(1012), "Alpha");
    wizard.SetText(1012, "Kestrel Group");
    wizard.SetChecked(1018, true);
    ASSERT_TRUE(wizard.Press(wizarddriver::kFinish));
    ASSERT_TRUE(setup.WaitForExit(30000)) << "the wizard did not end after Install";
    EXPECT_EQ(setup.ExitCode(), 0u) << "installed";

    // Files, links and the uninstall entry.
    EXPECT_EQ(ReadFileBytes(install_ + "\\docs\\readme.txt"), kReadme);
    EXPECT_EQ(ReadFileBytes(install_ + "\\URL.txt"), "https://kestrel.invalid/");
    EXPECT_TRUE(FileExists(install_ + "\\Setup.exe"));
    EXPECT_TRUE(FileExists(install_ + "\\zlib1.dll"));
    const std::string group = programs_ + "\\Kestrel Group";
    const ShortcutContents program = ReadLink(group + "\\Kestrel Test 2.lnk");
    EXPECT_EQ(program.target, install_ + "\\App.exe");
    EXPECT_EQ(program.workingDirectory, install_);
    EXPECT_EQ(program.iconPath, install_ + "\\AppIcon.ico");
    EXPECT_EQ(program.iconIndex, 0);
    const ShortcutContents uninstall = ReadLink(group + "\\Uninstall.lnk");
    EXPECT_EQ(uninstall.target, install_ + "\\Setup.exe");
    EXPECT_EQ(uninstall.arguments, " /UNINSTALL");
    EXPECT_EQ(uninstall.iconIndex, 1);
    const std::string desktopLink = ShellFolder(CSIDL_DESKTOP) + "\\Kestrel Test 2.lnk";
    EXPECT_EQ(ReadLink(desktopLink).target, install_ + "\\App.exe");
    const std::string uninstallString = RegistryString(kUninstallKey, "UninstallString");
    EXPECT_EQ(uninstallString, "\"" + install_ + "\\Setup.exe\" /UNINSTALL");
    EXPECT_EQ(RegistryString(kUninstallKey, "DisplayName"), "Kestrel Test 2");
    EXPECT_EQ(RegistryString(kUninstallKey, "InstallLocation"), install_);
    EXPECT_EQ(RegistryString(kRunKey, "KestrelApp"), "\"" + install_ + "\\App.exe\"");

    // The record, item by item in the order the installation made them.
    EXPECT_EQ(ReadFileBytes(install_ + "\\SetupInfo.dat"), ExpectedRecord(group, true, true));

    // What was started, and what is left of the package.
    const std::string app = Launched("App.exe");
    EXPECT_EQ(app.substr(app.find('\n') + 1), install_ + "\n")
        << "started in the install directory";
    EXPECT_EQ(Launched("Post.exe").substr(0, Launched("Post.exe").find('\n')),
              "\"" + install_ + "\\Post.exe\" /I");
    EXPECT_EQ(ReadFileBytes(setup_ / "mine.txt"), "the user's own");
    for (const char* gone : {"Setup.dat", "License.txt", "URL.txt", "App.exe", "readme.txt"})
        EXPECT_FALSE(FileExists(setup_ / gone)) << gone;
    const std::string pending = PendingRestartDeletions();
    EXPECT_NE(pending.find(setup_ / "Setup.exe|"), std::string::npos) << pending;

    // Uninstall through the recorded command, as Apps and Features would.
    const std::string uninstaller = install_ + "\\Setup.exe";
    Process first;
    std::string error;
    ASSERT_TRUE(first.Start(uninstaller, uninstallString, install_, error)) << error;
    HWND confirmation = windowdriver::WaitForWindow(first.Id(), "Uninstall", 15000);
    ASSERT_NE(confirmation, nullptr);
    windowdriver::PressButton(confirmation, IDOK);
    ASSERT_TRUE(first.WaitForExit(15000));
    const DWORD start = ::GetTickCount();
    while (DirectoryExists(install_) && ::GetTickCount() - start < windowdriver::Allowing(30000))
        ::Sleep(100);
    ::Sleep(windowdriver::Allowing(500)); // the copy schedules its own files last

    ExpectNothingLeft(before, MachineSnapshot::Take({setup_.Path(), launches_.Path()}));
}

TEST_F(WizardInstaller, CancelOnAnyPageInstallsAndStartsNothing) {
    struct Case {
        const char* name;
        bool license;
        int nextsBeforeCancel;
        const char* firstTitle;
    };
    const Case cases[] = {{"license page", true, 0, "License Agreement"},
                          {"directory page", true, 1, "License Agreement"},
                          {"group page", true, 2, "License Agreement"},
                          {"two-page wizard, group page", false, 1, "Install Directory"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileA((setup_ / "License.txt").c_str());
        WritePackage(c.license);
        Process setup;
        ASSERT_TRUE(Start(setup));
        Wizard wizard(setup);
        ASSERT_TRUE(wizard.WaitForSheet());
        EXPECT_EQ(wizard.PageTitle(), c.firstTitle);
        for (int i = 0; i < c.nextsBeforeCancel; ++i)
            ASSERT_TRUE(wizard.Press(wizarddriver::kNext));
        if (!c.license) {
            EXPECT_EQ(wizard.PageTitle(), "Group and Settings");
        }
        ASSERT_TRUE(wizard.Press(wizarddriver::kCancel));
        EXPECT_TRUE(setup.WaitForExit(15000));
        EXPECT_EQ(setup.ExitCode(), 1u) << "cancelled by the user";
        EXPECT_FALSE(DirectoryExists(install_));
        EXPECT_FALSE(DirectoryExists(ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kFolderName));
        EXPECT_EQ(Launched("Post.exe"), "");
        EXPECT_TRUE(FileExists(setup_ / "Setup.dat"));
    }
}

TEST_F(WizardInstaller, UncreatableDirectoryKeepsTheWizardAndADamagedFileUndoesTheRun) {
    WritePackage(false, true);
    Process setup;
    ASSERT_TRUE(Start(setup));
    Wizard wizard(setup);
    ASSERT_TRUE(wizard.WaitForSheet());
    wizard.SetText(1000, "C:\\bad<name>\\App");
    ASSERT_TRUE(wizard.Press(wizarddriver::kNext));
    ASSERT_TRUE(wizard.Press(wizarddriver::kFinish));
    EXPECT_EQ(AnswerMessageBox(wizard),
              "Setup can not create the destination directory to install the files .\nYou "
              "either do not have enough permissions or the directory name is invalid.");
    EXPECT_EQ(wizard.PageTitle(), "Group and Settings") << "the wizard stays";

    ASSERT_TRUE(wizard.Press(wizarddriver::kBack));
    wizard.SetText(1000, install_);
    ASSERT_TRUE(wizard.Press(wizarddriver::kNext));
    ASSERT_TRUE(wizard.Press(wizarddriver::kFinish));
    EXPECT_EQ(AnswerMessageBox(wizard), "The file " + setup_ / "readme.txt" + " is invalid.");
    EXPECT_TRUE(setup.WaitForExit(15000));
    EXPECT_EQ(setup.ExitCode(), 5u) << "a copy failure";
    EXPECT_FALSE(DirectoryExists(install_)) << "the run's own directory is gone again";
    EXPECT_EQ(Launched("App.exe") + Launched("Post.exe"), "") << "nothing is started";
    EXPECT_TRUE(FileExists(setup_ / "Setup.dat")) << "the package stays for another try";
}

} // namespace
