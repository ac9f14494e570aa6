#include "setup_pg_group.h"

#include "install_choices.h"
#include "install_defaults.h"
#include "page_text.h"
#include "resource.h"
#include "setup_context.h"
#include "unique_handle.h"

#include <vector>

namespace {

// Box 1012 takes a group name of up to this many characters.
constexpr WPARAM kMaxGroupName = 260;

bool IsProgramGroup(const WIN32_FIND_DATAA& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           ::lstrcmpiA(entry.cFileName, ".") != 0 && ::lstrcmpiA(entry.cFileName, "..") != 0;
}

} // namespace

CSetupPgGroup::CSetupPgGroup(SetupContext& context, InstallChoices& choices)
    : CPropertyPage(IDD_GROUP), context_(context), choices_(choices) {}

BOOL CSetupPgGroup::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    FillDlgItemText(*this, IDC_LAUNCH_PROGRAM, context_.package.appExe);
    // The settings start as the choices propose them (an update: as the
    // installed version has them); launching starts ticked.
    ::CheckDlgButton(m_hWnd, IDC_DESKTOP_SHORTCUT, choices_.desktopShortcut ? BST_CHECKED : 0);
    ::CheckDlgButton(m_hWnd, IDC_QUICKLAUNCH_SHORTCUT,
                     choices_.quickLaunchShortcut ? BST_CHECKED : 0);
    ::CheckDlgButton(m_hWnd, IDC_AUTOSTART, choices_.autoStart ? BST_CHECKED : 0);
    ::CheckDlgButton(m_hWnd, IDC_LAUNCH_PROGRAM, BST_CHECKED);
    SetDisplayNameAndGroup();
    // A group given on the command line is where the page starts.
    SetDlgItemText(IDC_GROUP_NAME,
                   choices_.groupName.empty() ? context_.g_strDefaultGroup : choices_.groupName);
    SendDlgItemMessage(IDC_GROUP_NAME, EM_LIMITTEXT, kMaxGroupName);
    ListProgramGroups();
    return TRUE;
}

void CSetupPgGroup::SetDisplayNameAndGroup() {
    context_.DerivePackageNames();
}

void CSetupPgGroup::ListProgramGroups() {
    m_szProgramsFolder = ProgramsFolder(choices_.perUser);
    if (m_szProgramsFolder.empty())
        return;
    WIN32_FIND_DATAA entry;
    UniqueFind search(::FindFirstFileA((m_szProgramsFolder + "*").c_str(), &entry));
    if (!search)
        return;
    do {
        if (IsProgramGroup(entry))
            SendDlgItemMessage(IDC_GROUP_LIST, LB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(entry.cFileName));
    } while (::FindNextFileA(search.get(), &entry));
}

BOOL CSetupPgGroup::OnSetActive() {
    CPropertySheet* sheet = GetSheet();
    sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
    sheet->SetButtonText(ID_WIZFINISH, "Install");
    return CPropertyPage::OnSetActive();
}

BOOL CSetupPgGroup::OnKillActive() {
    CollectChoices();
    return CPropertyPage::OnKillActive();
}

void CSetupPgGroup::CollectChoices() {
    choices_.programsFolder = m_szProgramsFolder;
    choices_.groupName = GetDlgItemText(IDC_GROUP_NAME);
    choices_.desktopShortcut = IsDlgButtonChecked(IDC_DESKTOP_SHORTCUT) != 0;
    choices_.quickLaunchShortcut = IsDlgButtonChecked(IDC_QUICKLAUNCH_SHORTCUT) != 0;
    choices_.launchProgram = IsDlgButtonChecked(IDC_LAUNCH_PROGRAM) != 0;
    choices_.autoStart = IsDlgButtonChecked(IDC_AUTOSTART) != 0;
}

BOOL CSetupPgGroup::OnCommand(UINT id, UINT code) {
    if (id == IDC_GROUP_LIST && code == LBN_SELCHANGE) {
        OnSelchangeGroupList();
        return TRUE;
    }
    return CPropertyPage::OnCommand(id, code);
}

void CSetupPgGroup::OnSelchangeGroupList() {
    LRESULT selected = SendDlgItemMessage(IDC_GROUP_LIST, LB_GETCURSEL);
    if (selected == LB_ERR)
        return;
    LRESULT length = SendDlgItemMessage(IDC_GROUP_LIST, LB_GETTEXTLEN, selected);
    if (length == LB_ERR)
        return;
    std::vector<char> name(static_cast<size_t>(length) + 1);
    SendDlgItemMessage(IDC_GROUP_LIST, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(name.data()));
    SetDlgItemText(IDC_GROUP_NAME, name.data());
}
