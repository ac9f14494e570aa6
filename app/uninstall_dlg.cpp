#include "uninstall_dlg.h"

#include "resource.h"
#include "win_app.h"

CUninstallDlg::CUninstallDlg() : CDialog(IDD_UNINSTALL) {}

BOOL CUninstallDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Shared icons from LoadIcon need no owner: the system frees them.
    HINSTANCE instance = AfxGetInstanceHandle();
    ::SendMessageA(
        m_hWnd, WM_SETICON, ICON_BIG,
        reinterpret_cast<LPARAM>(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_UNINSTALL))));
    ::SendMessageA(
        m_hWnd, WM_SETICON, ICON_SMALL,
        reinterpret_cast<LPARAM>(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_UNINSTALL))));
    return TRUE;
}
