// The real installer under Wine, driven through its wizard from this process
// as a user would, then checked on the disk, in the registry, in its links
// and in its install record; and removed again through its uninstall entry.
#include "install_record_format.h"
#include "package_index.h"
#include "packaged_file.h"
#include "reg_key_holder.h"
#include "setup_dat.h"
#include "shell_link.h"
#include "system_support.h"
#include "test_support.h"
#include "wizard_driver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

using windowdriver::Process;
using wizarddriver::Wizard;

const char kFolderName[] = "Kestrel Test 2.1"; // display name: "Kestrel Test 2"
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrel Test 2";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string ShellFolder(int folder) {
    std::string path;
    GetSpecialFolderPath(path, folder);
    return path;
}

ShortcutContents ReadLink(const std::string& path) {
    ShortcutContents link;
    link.iconIndex = -1;
    ReadShortcut(path, link);
    return link;
}

// What `after` holds that `before` does not, one entry a line.
std::string Added(const std::set<std::string>& before, const std::set<std::string>& after) {
    std::string added;
    for (const std::string& entry : after)
        if (!before.count(entry))
            added += entry + "\n";
    return added;
}

// Every file and directory below `root`, but those below `skipped`.
void ListTree(const std::string& root, const std::vector<std::string>& skipped,
              std::set<std::string>& paths) {
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA((root + "\\*").c_str(), &found));
    if (!search)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = root + "\\" + name;
        if (std::find(skipped.begin(), skipped.end(), path) != skipped.end())
            continue;
        paths.insert(path);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListTree(path, skipped, paths);
    } while (::FindNextFileA(search.get(), &found));
}

// Every key and value below a key of HKEY_CURRENT_USER, Wine's own settings left out.
void ListRegistry(HKEY key, const std::string& path, std::set<std::string>& entries) {
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (::RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        entries.insert(path + "|" + name);
    }
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::string child = path.empty() ? name : path + "\\" + name;
        if (child == "Software\\Wine")
            continue;
        entries.insert(child + "\\");
        CRegKeyHolder sub;
        if (sub.Open(key, name, KEY_READ) == ERROR_SUCCESS)
            ListRegistry(sub.m_hKey, child, entries);
    }
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableA("SETUP_TEST_LAUNCH_LOG", launches_.Path().c_str());
        install_ = programFiles_ + "\\Kestrel Under Test";
        ASSERT_TRUE(CopySetupProgram(setup_.Path(), "Setup.exe"));
        for (const char* group : {"beta", "Alpha"})
            ::CreateDirectoryA((programs_ + "\\" + group).c_str(), nullptr);
    }
    // Whatever a failed run left outside the test's own directories goes.
    void TearDown() override {
        for (const char* group : {"beta", "Alpha", "Kestrel Group"})
            RemoveTree(programs_ + "\\" + group);
        RemoveTree(install_);
        ::DeleteFileA((ShellFolder(CSIDL_DESKTOP) + "\\Kestrel Test 2.lnk").c_str());
        CRegKeyHolder run;
        if (run.Open(HKEY_CURRENT_USER, kRunKey, KEY_ALL_ACCESS) == ERROR_SUCCESS)
            ::RegDeleteValueA(run.m_hKey, "KestrelApp");
    }

    // Writes the package: the main program and the post-install program (both
    // recorders), a document in a subdirectory, the icon, and the setup
    // program and zlib1.dll installed as the uninstaller; License.txt only
    // when asked; and a file of the user's own beside it all.
    void WritePackage(bool withLicense, bool damaged = false) {
        const std::string recorder = ReadFileBytes(OwnDirectory() + "\\launch_recorder.exe");
        setupcore::PackageIndex index;
        index.appExe = "App.exe";
        index.folderName = kFolderName;
        index.postInstall = "Post.exe";
        const auto add = [&](const std::string& name, const std::string& bytes, bool packed) {
            index.files.push_back({name, packed ? 1 : 0});
            if (name != "Setup.exe" && name != "zlib1.dll")
                WriteFileBytes(setup_ / ExtractName(name),
                               packed ? setupcore::PackBytes(bytes) : bytes);
        };
        add("App.exe", recorder, true);
        add("Post.exe", recorder, false);
        std::string docs = setupcore::PackBytes(kReadme);
        add("docs\\readme.txt", kReadme, true);
        if (damaged) {
            docs[docs.size() / 2] ^= 0x5A;
            WriteFileBytes(setup_ / "readme.txt", docs);
        }
        add("AppIcon.ico", "icon", false);
        add("Setup.exe", "", false);
        add("zlib1.dll", "", false);
        WriteFileBytes(setup_ / "Setup.dat", setupcore::EncodePackageIndex(index));
        if (withLicense)
            WriteFileBytes(setup_ / "License.txt", "Terms\r\nof use");
        WriteFileBytes(setup_ / "URL.txt", "https://kestrel.invalid/");
        WriteFileBytes(setup_ / "mine.txt", "the user's own");
    }
    static std::string ExtractName(const std::string& name) {
        return name.substr(name.find_last_of('\\') + 1);
    }

    bool Start(Process& process) {
        std::string error;
        const std::string program = setup_ / "Setup.exe";
        EXPECT_TRUE(process.Start(program, "\"" + program + "\"", setup_.Path(), error)) << error;
        return process.Started();
    }
    std::string Launched(const char* program) const {
        return ReadFileBytes(launches_ / (std::string(program) + ".log"));
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

    static constexpr const char* kReadme = "Read me first.\r\n";
    TempDir setup_, launches_;
    const std::string programFiles_ = ShellFolder(CSIDL_PROGRAM_FILES);
    const std::string programs_ = ShellFolder(CSIDL_COMMON_PROGRAMS);
    std::string install_;
    RegistryKeyGuard uninstallEntry_{kUninstallKey};
};

TEST_F(Installer, WizardInstallsEverythingAndItsUninstallEntryRemovesItAgain) {
    WritePackage(true);
    // Every Windows has the key that holds the uninstall entries; a fresh
    // Wine prefix may not.
    ASSERT_EQ(CRegKeyHolder().Create(HKEY_CURRENT_USER, kUninstallKey), ERROR_SUCCESS);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey); // its parent stays
    std::set<std::string> filesBefore, registryBefore;
    const std::vector<std::string> skipped = {setup_.Path(), launches_.Path()};
    ListTree("C:", skipped, filesBefore);
    ListRegistry(HKEY_CURRENT_USER, "", registryBefore);

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
    const std::string quickLaunch =
        ShellFolder(CSIDL_APPDATA) +
        "\\\\Microsoft\\Internet Explorer\\Quick Launch\\Kestrel Test 2.lnk";
    const std::string registry = std::string("%REG_CURRENT_USER%") + kUninstallKey;
    const std::vector<std::string> items = {install_ + "\\App.exe",
                                            install_ + "\\Post.exe",
                                            install_ + "\\docs\\readme.txt",
                                            install_ + "\\AppIcon.ico",
                                            install_ + "\\Setup.exe",
                                            install_ + "\\zlib1.dll",
                                            install_ + "\\URL.txt",
                                            group,
                                            group + "\\Kestrel Test 2.lnk",
                                            desktopLink,
                                            quickLaunch,
                                            group + "\\Uninstall.lnk",
                                            registry + "\\UninstallString",
                                            registry + "\\DisplayName",
                                            registry + "\\",
                                            group + "\\",
                                            std::string("%REG_CURRENT_USER%") + kRunKey +
                                                "\\KestrelApp"};
    EXPECT_EQ(ReadFileBytes(install_ + "\\SetupInfo.dat"),
              setupcore::EncodeInstallRecord({install_, "", items}));

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

    std::set<std::string> filesAfter, registryAfter;
    ListTree("C:", skipped, filesAfter);
    ListRegistry(HKEY_CURRENT_USER, "", registryAfter);
    const std::string scheduled = PendingRestartDeletions();
    for (const std::string& path : filesAfter)
        if (!filesBefore.count(path) && scheduled.find(path + "|") == std::string::npos)
            ADD_FAILURE() << "left behind: " << path;
    EXPECT_EQ(Added(filesAfter, filesBefore), "") << "removed although there before";
    EXPECT_EQ(Added(registryBefore, registryAfter), "") << "registry entries left behind";
    EXPECT_EQ(Added(registryAfter, registryBefore), "") << "registry entries removed";
}

TEST_F(Installer, CancelOnAnyPageInstallsAndStartsNothing) {
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
        EXPECT_FALSE(DirectoryExists(install_));
        EXPECT_FALSE(DirectoryExists(ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kFolderName));
        EXPECT_EQ(Launched("Post.exe"), "");
        EXPECT_TRUE(FileExists(setup_ / "Setup.dat"));
    }
}

TEST_F(Installer, UncreatableDirectoryKeepsTheWizardAndADamagedFileUndoesTheRun) {
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
    EXPECT_FALSE(DirectoryExists(install_)) << "the run's own directory is gone again";
    EXPECT_EQ(Launched("App.exe") + Launched("Post.exe"), "") << "nothing is started";
    EXPECT_TRUE(FileExists(setup_ / "Setup.dat")) << "the package stays for another try";
}

} // namespace
