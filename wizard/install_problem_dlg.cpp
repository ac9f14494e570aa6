#include "install_problem_dlg.h"

#include "resource.h"

CInstallProblemDlg::CInstallProblemDlg() : CDialog(IDD_INSTALL_PROBLEM) {}

BOOL CInstallProblemDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    if (m_font.CreateBoldCopy(GetFont()))
        SendDlgItemMessage(IDC_PROBLEM_TITLE, WM_SETFONT,
                           reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
    return TRUE;
}
