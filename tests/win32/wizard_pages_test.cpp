// The install wizard as the user meets it: the real pages in a real sheet,
// opened modeless in this process and driven with the sheet's own buttons,
// its queued messages pumped after every press.
#include "current_directory.h"
#include "install_choices.h"
#include "install_wizard.h"
#include "installation.h"
#include "path_helpers.h"
#include "reg_key_holder.h"
#include "resource.h"
#include "setup_app.h"
#include "setup_context.h"
#include "setup_pg_dir.h"
#include "setup_pg_group.h"
#include "setup_pg_license.h"
#include "test_support.h"
#include "unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The package as the index would describe it, run from `setupDirectory`.
void UsePackage(SetupContext& context, const std::string& setupDirectory,
                const std::string& folderName) {
    context.StartFrom(setupDirectory + "\\Setup.exe");
    context.package.appExe = "Notes.exe";
    context.package.folderName = folderName;
}

// The wizard of an install run from `setupDirectory` of a package whose
// folder name is `folderName`, its choices starting as `presets`.
struct Wizard {
    Wizard(const std::string& setupDirectory, const std::string& folderName,
           const InstallChoices& presets = InstallChoices()) {
        choices = presets;
        UsePackage(context, setupDirectory, folderName);
        AssembleInstallWizard(sheet, license, dir, group, setupDirectory);
        sheet.Create();
        PumpMessages();
    }
    void Press(int button) {
        ::SendMessageA(sheet.m_hWnd, PSM_PRESSBUTTON, button, 0);
        PumpMessages();
    }
    HWND CurrentPage() const {
        return reinterpret_cast<HWND>(::SendMessageA(sheet.m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    // The wizard buttons the user sees, each with its text.
    std::string Buttons() const {
        std::string shown;
        for (int id : {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH}) {
            HWND button = sheet.GetDlgItem(id);
            if (::GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE)
                shown += "[" + GetWindowTextOf(button) +
                         (::IsWindowEnabled(button) ? "" : " (disabled)") + "]";
        }
        return shown;
    }

    SetupContext context;
    InstallChoices choices;
    CSetupPgLicense license;
    CSetupPgDir dir{context, choices};
    CSetupPgGroup group{context, choices};
    CPropertySheet sheet; // declared last: its window goes before the pages
};

const char* const kLicenseButtons = "[I Agree]";
const char* const kDirButtons = "[< &Back][&Next >]";
const char* const kGroupButtons = "[< &Back][Install]";

LOGFONTA FontOf(HWND window) {
    LOGFONTA font = {};
    HFONT handle = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    ::GetObjectA(handle, sizeof font, &font);
    return font;
}

std::vector<std::string> ListedGroups(const CSetupPgGroup& page) {
    std::vector<std::string> names;
    HWND list = page.GetDlgItem(IDC_GROUP_LIST);
    LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char name[MAX_PATH] = "";
        ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
        names.push_back(name);
    }
    return names;
}

// Clicks entry `index` of a list box as the mouse would.
void ClickListEntry(HWND list, int index) {
    RECT entry;
    ::SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&entry));
    LPARAM at = MAKELPARAM(entry.left + 2, (entry.top + entry.bottom) / 2);
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(list, WM_LBUTTONUP, 0, at);
}

void MakeDirectory(const std::string& path) {
    ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr)) << path;
}

std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool IsLabel(HWND control) {
    char name[16] = "";
    ::GetClassNameA(control, name, sizeof name);
    return lstrcmpiA(name, "Static") == 0 &&
           (::GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
}

bool IsCheckBox(HWND control) {
    char name[16] = "";
    ::GetClassNameA(control, name, sizeof name);
    return lstrcmpiA(name, "Button") == 0 &&
           (::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
}

// The room the text of a label or check box of `page` takes, in its own font,
// laid out as the control lays it out: a label breaks it at words within its
// width, a check box keeps it on one line after the box, which takes 12
// dialog units with the gap after it (Wine's takes some 11).
SIZE RoomForText(HWND page, HWND control) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ::SelectObject(dc.get(), reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    const std::string text = GetWindowTextOf(control);
    RECT client;
    ::GetClientRect(control, &client);
    if (IsLabel(control)) {
        RECT room = {0, 0, client.right, 0};
        ::DrawTextA(dc.get(), text.c_str(), -1, &room, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        return {room.right, room.bottom};
    }
    RECT room = {};
    ::DrawTextA(dc.get(), text.c_str(), -1, &room, DT_CALCRECT | DT_SINGLELINE);
    RECT box = {0, 0, 12, 0};
    ::MapDialogRect(page, &box);
    return {box.right + room.right, room.bottom};
}

} // namespace

TEST(InstallWizard, TheLicensePageComesFirstOnlyWithALicenseFileAndShowsItsBytes) {
    struct Case {
        const char* name;
        bool hasFile;
        std::string bytes;
        std::string shown;
    };
    const Case cases[] = {
        {"no License.txt", false, "", ""},
        {"empty License.txt", true, "", ""},
        {"line ends kept", true, "Terms\r\nMore terms\r\n", "Terms\r\nMore terms\r\n"},
        {"NUL ends the text", true, std::string("Before\0After", 12), "Before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir setup;
        if (c.hasFile)
            WriteFileBytes(setup / "License.txt", c.bytes);
        Wizard wizard(setup.Path(), "Notes");

        if (c.hasFile) {
            EXPECT_EQ(wizard.CurrentPage(), wizard.license.m_hWnd);
            EXPECT_EQ(wizard.license.GetDlgItemText(IDC_LICENSE_TEXT), c.shown);
            wizard.Press(PSBTN_NEXT);
        } else {
            EXPECT_EQ(wizard.license.m_hWnd, nullptr);
            // Back is offered on the first page too, and leads nowhere.
            EXPECT_EQ(wizard.Buttons(), kDirButtons);
            wizard.Press(PSBTN_BACK);
        }
        EXPECT_EQ(wizard.CurrentPage(), wizard.dir.m_hWnd);
        wizard.Press(PSBTN_NEXT);
        EXPECT_EQ(wizard.CurrentPage(), wizard.group.m_hWnd);
    }
}

TEST(InstallWizard, EveryPageSetsItsButtonsOnEachVisitAndTheUsersChoicesStay) {
    TempDir setup;
    WriteFileBytes(setup / "License.txt", "Terms");
    Wizard wizard(setup.Path(), "Notes");
    EXPECT_EQ(wizard.Buttons(), kLicenseButtons);

    wizard.Press(PSBTN_NEXT);
    EXPECT_EQ(wizard.Buttons(), kDirButtons);
    wizard.dir.SetDlgItemText(IDC_INSTALL_DIR, "D:\\Typed");
    wizard.Press(PSBTN_BACK);
    EXPECT_EQ(wizard.CurrentPage(), wizard.license.m_hWnd);
    EXPECT_EQ(wizard.Buttons(), kLicenseButtons);
    // Leaving by Back stores the directory as well as leaving by Next.
    EXPECT_EQ(wizard.choices.installDir, "D:\\Typed");

    wizard.Press(PSBTN_NEXT);
    EXPECT_EQ(wizard.Buttons(), kDirButtons);
    EXPECT_EQ(wizard.dir.GetDlgItemText(IDC_INSTALL_DIR), "D:\\Typed");
    wizard.dir.SetDlgItemText(IDC_INSTALL_DIR, "E:\\Chosen");
    wizard.Press(PSBTN_NEXT);
    EXPECT_EQ(wizard.Buttons(), kGroupButtons);
    EXPECT_EQ(wizard.choices.installDir, "E:\\Chosen");

    ::CheckDlgButton(wizard.group.m_hWnd, IDC_DESKTOP_SHORTCUT, BST_UNCHECKED);
    wizard.group.SetDlgItemText(IDC_GROUP_NAME, "Mine");
    ::CheckDlgButton(wizard.group.m_hWnd, IDC_AUTOSTART, BST_CHECKED);
    wizard.Press(PSBTN_BACK);
    EXPECT_EQ(wizard.Buttons(), kDirButtons);
    // Leaving the last page hands its settings over as well.
    EXPECT_EQ(wizard.choices.groupName, "Mine");
    EXPECT_FALSE(wizard.choices.desktopShortcut);
    EXPECT_TRUE(wizard.choices.quickLaunchShortcut);
    EXPECT_TRUE(wizard.choices.launchProgram);
    EXPECT_TRUE(wizard.choices.autoStart);
    wizard.Press(PSBTN_NEXT);
    EXPECT_EQ(wizard.Buttons(), kGroupButtons);
    EXPECT_FALSE(::IsDlgButtonChecked(wizard.group.m_hWnd, IDC_DESKTOP_SHORTCUT));
    EXPECT_EQ(wizard.group.GetDlgItemText(IDC_GROUP_NAME), "Mine");
}

TEST(InstallDirectoryPage, GreetsInBoldWithTheProgramNameAndProposesProgramFiles) {
    TempDir setup;
    Wizard wizard(setup.Path(), "Kestrel\\Notes");
    const CSetupPgDir& page = wizard.dir;

    EXPECT_EQ(page.GetDlgItemText(IDC_WELCOME), "Welcome to Notes.exe");
    EXPECT_EQ(page.GetDlgItemText(IDC_WILL_INSTALL),
              "This program will install Notes.exe on your computer");
    EXPECT_EQ(page.GetDlgItemText(IDC_CLOSE_APPS),
              "Before installing the Notes.exe, please close all running applications");
    LOGFONTA welcome = FontOf(page.GetDlgItem(IDC_WELCOME));
    EXPECT_EQ(welcome.lfWeight, FW_BOLD);
    EXPECT_EQ(welcome.lfHeight, FontOf(page.m_hWnd).lfHeight - 1);

    // Wine keeps Program Files on the Windows drive, the first one searched.
    const std::string programFiles = WindowsDirectory().substr(0, 1) + ":\\Program Files\\";
    ASSERT_TRUE(DirectoryExists(programFiles));
    EXPECT_EQ(page.GetDlgItemText(IDC_INSTALL_DIR), programFiles + "Kestrel\\Notes");
    EXPECT_EQ(page.SendDlgItemMessage(IDC_INSTALL_DIR, EM_GETLIMITTEXT), 259);
}

// Text cut short where the font is wider than the one the pages were drawn
// with (Wine's stand-in for MS Sans Serif) hides words: "Install in" for
// "Install in directory:".
TEST(InstallWizard, EveryLabelAndCheckBoxOfThePagesShowsItsWholeText) {
    TempDir setup;
    Wizard wizard(setup.Path(), "Kestrel\\Notes");
    wizard.Press(PSBTN_NEXT); // the group page has its window once shown
    int checked = 0;
    for (HWND page : {wizard.dir.m_hWnd, wizard.group.m_hWnd}) {
        for (HWND control : ChildrenOf(page)) {
            if (!IsLabel(control) && !IsCheckBox(control))
                continue;
            RECT client;
            ::GetClientRect(control, &client);
            const SIZE room = RoomForText(page, control);
            EXPECT_LE(room.cx, client.right) << "too narrow: " << GetWindowTextOf(control);
            EXPECT_LE(room.cy, client.bottom) << "too low: " << GetWindowTextOf(control);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 12); // eight labels, four check boxes
}

TEST(InstallDirectoryPage, RefusesToGoOnWithADirectoryTooLongToKeep) {
    TempDir setup;
    Wizard wizard(setup.Path(), std::string(250, 'n'));
    const std::string tooLong = wizard.dir.GetDlgItemText(IDC_INSTALL_DIR);
    ASSERT_GT(tooLong.size(), 259u);

    ScriptedUserInterface ui;
    wizard.Press(PSBTN_NEXT);
    EXPECT_EQ(wizard.CurrentPage(), wizard.dir.m_hWnd);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_INSTALL_DIR_TOO_LONG, tooLong));
    EXPECT_EQ(wizard.choices.installDir, "");

    const std::string longest = "C:\\" + std::string(256, 'n');
    wizard.dir.SetDlgItemText(IDC_INSTALL_DIR, longest);
    wizard.Press(PSBTN_NEXT);
    EXPECT_EQ(wizard.CurrentPage(), wizard.group.m_hWnd);
    EXPECT_EQ(wizard.choices.installDir, longest);
    EXPECT_EQ(ui.boxes.size(), 1u);
}

namespace {

// Answers the system's folder picker, a modal dialog of this thread, with
// one button the moment it shows: a thread timer fires inside its loop.
class FolderPickerAnswer {
public:
    explicit FolderPickerAnswer(int button) {
        button_ = button;
        shown_ = false;
        timer_ = ::SetTimer(nullptr, 0, 50, Tick);
    }
    ~FolderPickerAnswer() { ::KillTimer(nullptr, timer_); }
    static bool Shown() { return shown_; }

private:
    static BOOL CALLBACK PressIfPicker(HWND window, LPARAM) {
        if (!::IsWindowVisible(window) ||
            !::FindWindowExA(window, nullptr, "SysTreeView32", nullptr))
            return TRUE;
        shown_ = true;
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ::EnumThreadWindows(::GetCurrentThreadId(), PressIfPicker, 0);
    }
    static int button_;
    static bool shown_;
    UINT_PTR timer_;
};
int FolderPickerAnswer::button_ = IDCANCEL;
bool FolderPickerAnswer::shown_ = false;

} // namespace

TEST(InstallDirectoryPage, BrowseOpensThePickerAtTheTypedDirectoryAndTakesTheChosenFolder) {
    TempDir setup;
    Wizard wizard(setup.Path(), "Kestrel\\Notes");
    wizard.Press(PSBTN_NEXT);
    const std::string typed = setup / "not made yet\\Notes";
    wizard.dir.SetDlgItemText(IDC_INSTALL_DIR, typed);
    const auto pressBrowse = [&] {
        ::SendMessageA(wizard.dir.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(wizard.dir.GetDlgItem(IDC_BROWSE)));
    };
    {
        FolderPickerAnswer cancel(IDCANCEL);
        pressBrowse();
        EXPECT_TRUE(FolderPickerAnswer::Shown());
    }
    EXPECT_EQ(wizard.dir.GetDlgItemText(IDC_INSTALL_DIR), typed) << "Cancel changes nothing";
    {
        // The picker starts at the nearest folder that exists, and OK takes it.
        FolderPickerAnswer ok(IDOK);
        pressBrowse();
        EXPECT_TRUE(FolderPickerAnswer::Shown());
    }
    EXPECT_EQ(wizard.dir.GetDlgItemText(IDC_INSTALL_DIR), setup / "Kestrel\\Notes");
}

TEST(FindProgramFilesDrive, FindsNoDriveForAMissingDirectoryAndKeepsTheCurrentOne) {
    TempDir somewhere;
    CurrentDirectoryKeeper keeper; // goes first, so that the TempDir can
    ASSERT_TRUE(::SetCurrentDirectoryA(somewhere.Path().c_str()));
    std::string path = "?:\\No Such Program Files 7f3a\\";
    EXPECT_EQ(FindProgramFilesDrive(path), 0);
    EXPECT_EQ(CurrentDirectory(), somewhere.Path());

    path = "?:\\Program Files\\";
    EXPECT_EQ(FindProgramFilesDrive(path), 1);
    EXPECT_EQ(path[0], WindowsDirectory()[0]);
    EXPECT_EQ(CurrentDirectory(), somewhere.Path());
}

TEST(GroupPage, StartsWithItsDefaultsAndListsTheSharedProgramGroups) {
    TempDir setup;
    const std::string shared = setup / "Shared Programs";
    MakeDirectory(shared);
    for (const char* group : {"beta", "Alpha", "gamma", "Zeta"})
        MakeDirectory(shared + "\\" + group);
    ::SetFileAttributesA((shared + "\\Zeta").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFileBytes(shared + "\\Loose.lnk", "");
    ProgramsFoldersOverride folders(shared, setup / "no such own folder");
    Wizard wizard(setup.Path(), "Kestrel\\Notes 2.5");
    wizard.Press(PSBTN_NEXT);
    const CSetupPgGroup& page = wizard.group;

    EXPECT_EQ(page.GetDlgItemText(IDC_LAUNCH_PROGRAM), "Launch Notes.exe");
    for (int id : {IDC_DESKTOP_SHORTCUT, IDC_QUICKLAUNCH_SHORTCUT, IDC_LAUNCH_PROGRAM})
        EXPECT_TRUE(::IsDlgButtonChecked(page.m_hWnd, id)) << "check box " << id;
    EXPECT_FALSE(::IsDlgButtonChecked(page.m_hWnd, IDC_AUTOSTART));
    EXPECT_EQ(wizard.context.g_strDisplayName, "Notes 2");
    EXPECT_EQ(wizard.context.g_strDefaultGroup, "Kestrel\\Notes 2.5");
    EXPECT_EQ(page.GetDlgItemText(IDC_GROUP_NAME), "Kestrel\\Notes 2.5");
    EXPECT_EQ(page.SendDlgItemMessage(IDC_GROUP_NAME, EM_GETLIMITTEXT), 260);

    EXPECT_EQ(page.m_szProgramsFolder, shared + "\\");
    EXPECT_EQ(ListedGroups(page), (std::vector<std::string>{"Alpha", "beta", "gamma", "Zeta"}));

    // A selection change with nothing selected leaves the box alone.
    ::SendMessageA(page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_GROUP_LIST, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(page.GetDlgItem(IDC_GROUP_LIST)));
    EXPECT_EQ(page.GetDlgItemText(IDC_GROUP_NAME), "Kestrel\\Notes 2.5");
    ClickListEntry(page.GetDlgItem(IDC_GROUP_LIST), 2);
    EXPECT_EQ(page.GetDlgItemText(IDC_GROUP_NAME), "gamma");
}

TEST(GroupPage, FallsBackToTheUsersOwnProgramsFolderAndThenToNoGroup) {
    TempDir setup;
    const std::string own = setup / "Own Programs";
    MakeDirectory(own);
    MakeDirectory(own + "\\Mine");
    const std::string missing = setup / "missing";
    struct Case {
        const char* name;
        std::string shared, own;
        std::string programsFolder;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"no shared folder", missing, own, own + "\\", {"Mine"}},
        {"no Programs folder at all", missing, missing + "2", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramsFoldersOverride folders(c.shared, c.own);
        Wizard wizard(setup.Path(), "Notes");
        wizard.Press(PSBTN_NEXT);
        EXPECT_EQ(wizard.group.m_szProgramsFolder, c.programsFolder);
        EXPECT_EQ(ListedGroups(wizard.group), c.listed);
    }
}

TEST(InstallWizard, PagesStartFromTheDirectoryAndGroupGivenOnTheCommandLine) {
    TempDir setup;
    InstallChoices presets;
    presets.installDir = "D:\\Given Dir";
    presets.groupName = "Given Group";
    Wizard wizard(setup.Path(), "Notes", presets);
    EXPECT_EQ(wizard.dir.GetDlgItemText(IDC_INSTALL_DIR), "D:\\Given Dir");
    wizard.Press(PSBTN_NEXT);
    EXPECT_EQ(wizard.group.GetDlgItemText(IDC_GROUP_NAME), "Given Group");
}

TEST(InstallWizard, PostInstallCommandQuotesTheProgramPath) {
    EXPECT_EQ(PostInstallCommand("C:\\Program Files\\Notes", "Tour.exe"),
              "\"C:\\Program Files\\Notes\\Tour.exe\" /I");
    EXPECT_EQ(PostInstallCommand("C:\\Program Files\\Notes", ""), "");
}
