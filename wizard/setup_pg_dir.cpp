#include "setup_pg_dir.h"

#include "folder_picker.h"
#include "install_choices.h"
#include "page_text.h"
#include "path_helpers.h"
#include "problem_message.h"
#include "resource.h"
#include "setup_context.h"
#include "string_table.h"
#include "user_interface.h"

CSetupPgDir::CSetupPgDir(const SetupContext& context, InstallChoices& choices)
    : CPropertyPage(IDD_INSTALL_DIR), context_(context), choices_(choices) {}

BOOL CSetupPgDir::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    // One unit taller than the page font: dialog fonts have negative heights.
    m_fontBold.CreateBoldCopy(GetFont(), 1);
    for (int id : {IDC_WELCOME, IDC_WILL_INSTALL, IDC_CLOSE_APPS})
        FillDlgItemText(*this, id, context_.package.appExe);
    // A directory given on the command line is where the page starts.
    SetDlgItemText(IDC_INSTALL_DIR, choices_.installDir.empty()
                                        ? DefaultInstallDir(context_.package, choices_.perUser)
                                        : choices_.installDir);
    // Typing stops at what the field holds; the default may still be longer
    // (a long folder name), which leaving by Next refuses.
    SendDlgItemMessage(IDC_INSTALL_DIR, EM_LIMITTEXT, kMaxInstallDir);
    SendDlgItemMessage(IDC_WELCOME, WM_SETFONT,
                       reinterpret_cast<WPARAM>(m_fontBold.GetSafeHandle()), TRUE);
    return TRUE;
}

BOOL CSetupPgDir::OnSetActive() {
    // The license page hides Back and renames Next; coming from it, both are
    // put back. Back stays enabled even when this is the first page.
    CPropertySheet* sheet = GetSheet();
    sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    sheet->ShowButton(ID_WIZBACK, SW_SHOW);
    sheet->SetButtonText(ID_WIZNEXT, "&Next >");
    return CPropertyPage::OnSetActive();
}

LRESULT CSetupPgDir::OnWizardNext() {
    // A directory longer than the engine takes is refused here already,
    // never cut: a cut one would install somewhere the user did not choose.
    if (const Problem refused = CheckInstallDirectoryLength(GetDlgItemText(IDC_INSTALL_DIR))) {
        ShowProblem(refused);
        ::SetFocus(GetDlgItem(IDC_INSTALL_DIR));
        return -1;
    }
    return CPropertyPage::OnWizardNext();
}

BOOL CSetupPgDir::OnKillActive() {
    // Only Back can leave with a directory too long to keep (Next refuses
    // it); the choices then keep what they had, and the box keeps the text.
    std::string directory = GetDlgItemText(IDC_INSTALL_DIR);
    if (directory.size() <= kMaxInstallDir)
        choices_.installDir = directory;
    return CPropertyPage::OnKillActive();
}

BOOL CSetupPgDir::OnCommand(UINT id, UINT code) {
    if (id == IDC_BROWSE && code == BN_CLICKED) {
        OnBrowse();
        return TRUE;
    }
    return CPropertyPage::OnCommand(id, code);
}

void CSetupPgDir::OnBrowse() {
    const std::optional<std::string> folder = PickFolder(
        GetSheet()->m_hWnd, FormatResourceString(IDS_BROWSE_TITLE, context_.package.appExe),
        GetDlgItemText(IDC_INSTALL_DIR));
    if (folder)
        SetDlgItemText(IDC_INSTALL_DIR, AppendPath(*folder, context_.package.folderName));
}
