#include "property_sheet.h"

#include "win_app.h"

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId), m_psp() {
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = AfxGetInstanceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

LRESULT CPropertyPage::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case PSN_SETACTIVE:
        return OnSetActive() ? 0 : -1;
    case PSN_KILLACTIVE:
        return OnKillActive() ? FALSE : TRUE;
    case PSN_WIZFINISH:
        return OnWizardFinish() ? FALSE : TRUE;
    default:
        return 0;
    }
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* page = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
        return Attach(window, reinterpret_cast<CPropertyPage*>(page->lParam));
    }
    auto* self = static_cast<CPropertyPage*>(Lookup(window, msg));
    if (!self)
        return FALSE;
    if (msg == WM_NOTIFY) {
        ::SetWindowLongPtrA(window, DWLP_MSGRESULT,
                            self->OnNotify(*reinterpret_cast<NMHDR*>(lParam)));
        return TRUE;
    }
    return self->OnMessage(msg, wParam, lParam);
}

namespace {
CPropertySheet* g_startingSheet = nullptr;
}

CPropertySheet::CPropertySheet() : m_psh() {
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.hInstance = AfxGetInstanceHandle();
    m_psh.pfnCallback = SheetCallback;
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED && g_startingSheet)
        g_startingSheet->m_hWnd = window;
    return 0;
}

INT_PTR CPropertySheet::DoModal() {
    std::vector<PROPSHEETPAGEA> pages;
    for (CPropertyPage* page : pages_)
        pages.push_back(page->m_psp);
    m_psh.nPages = static_cast<UINT>(pages.size());
    m_psh.ppsp = pages.data();
    g_startingSheet = this;
    INT_PTR result = ::PropertySheetA(&m_psh);
    g_startingSheet = nullptr;
    m_hWnd = nullptr;
    if (result <= 0)
        return IDCANCEL;
    return (m_psh.dwFlags & PSH_WIZARD) ? ID_WIZFINISH : IDOK;
}
