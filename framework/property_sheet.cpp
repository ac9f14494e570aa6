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

CPropertyPage::~CPropertyPage() {
    // A window that outlives its page must not forward messages to it.
    if (m_hWnd)
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
}

LRESULT CPropertyPage::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case PSN_SETACTIVE:
        return OnSetActive() ? 0 : -1;
    case PSN_KILLACTIVE:
        return OnKillActive() ? FALSE : TRUE;
    case PSN_WIZNEXT:
        return OnWizardNext();
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

CPropertySheet::~CPropertySheet() {
    modeless_.reset();
    ForgetWindow();
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    page->m_pSheet = this;
    pages_.push_back(page);
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT msg, LPARAM) {
    // The pages' first activation comes after this, and already needs the
    // sheet's window for its buttons.
    if (msg == PSCB_INITIALIZED && g_startingSheet)
        g_startingSheet->m_hWnd = window;
    return 0;
}

INT_PTR CPropertySheet::Run() {
    pageHeaders_.clear();
    for (CPropertyPage* page : pages_)
        pageHeaders_.push_back(page->m_psp);
    m_psh.nPages = static_cast<UINT>(pageHeaders_.size());
    m_psh.ppsp = pageHeaders_.data();
    g_startingSheet = this;
    INT_PTR result = ::PropertySheetA(&m_psh);
    g_startingSheet = nullptr;
    return result;
}

INT_PTR CPropertySheet::DoModal() {
    m_psh.dwFlags &= ~PSH_MODELESS;
    INT_PTR result = Run();
    ForgetWindow();
    if (result <= 0)
        return IDCANCEL;
    return (m_psh.dwFlags & PSH_WIZARD) ? ID_WIZFINISH : IDOK;
}

BOOL CPropertySheet::Create() {
    m_psh.dwFlags |= PSH_MODELESS;
    INT_PTR result = Run();
    // PropertySheetA gives the window back, or -1 (or null) when it failed.
    if (result == 0 || result == -1) {
        ForgetWindow();
        return FALSE;
    }
    modeless_.reset(reinterpret_cast<HWND>(result));
    m_hWnd = modeless_.get();
    return TRUE;
}

void CPropertySheet::ForgetWindow() {
    m_hWnd = nullptr;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
}

void CPropertySheet::SetWizardButtons(DWORD flags) const {
    ::PostMessageA(m_hWnd, PSM_SETWIZBUTTONS, 0, flags);
}

void CPropertySheet::ShowButton(int buttonId, int showCommand) const {
    ::ShowWindow(GetDlgItem(buttonId), showCommand);
}
