#include "setup_pg_license.h"

#include "resource.h"

CSetupPgLicense::CSetupPgLicense() : CPropertyPage(IDD_LICENSE) {}

BOOL CSetupPgLicense::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (m_pszLicenseText)
        SetDlgItemText(IDC_LICENSE_TEXT, m_pszLicenseText.get());
    return TRUE;
}

BOOL CSetupPgLicense::OnSetActive() {
    // The directory page shows Back and renames Next when it is left by Back,
    // so both are set again on every activation, not only the first.
    CPropertySheet* sheet = GetSheet();
    sheet->SetWizardButtons(PSWIZB_NEXT);
    sheet->ShowButton(ID_WIZBACK, SW_HIDE);
    sheet->SetButtonText(ID_WIZNEXT, "I Agree");
    return CPropertyPage::OnSetActive();
}
