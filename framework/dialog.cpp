#include "dialog.h"

#include "framed_bitmap.h"
#include "user_interface.h"
#include "win_app.h"

INT_PTR CDialog::DoModal() {
    if (std::optional<INT_PTR> answer = UserInterface().InterceptModal(m_nIDTemplate))
        return *answer;
    return RunModalLoop();
}

HWND CDialog::CreateModeless() {
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    return ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), parent,
                                DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialog::RunModalLoop() {
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    return ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), parent,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_COMMAND)
        return FALSE;
    UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if (id == IDOK && code == BN_CLICKED) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL && code == BN_CLICKED) {
        OnCancel();
        return TRUE;
    }
    return OnCommand(id, code);
}

BOOL CDialog::Attach(HWND window, CDialog* self) {
    ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->m_hWnd = window;
    FitFramedBitmaps(window, self->framedBitmaps_);
    return self->OnInitDialog();
}

CDialog* CDialog::Lookup(HWND window, UINT msg) {
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (self && msg == WM_NCDESTROY) {
        // The controls are gone by now, and with them every use of the bitmaps.
        self->framedBitmaps_.clear();
        self->m_hWnd = nullptr;
        return nullptr;
    }
    return self;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG)
        return Attach(window, reinterpret_cast<CDialog*>(lParam));
    CDialog* self = Lookup(window, msg);
    return self ? self->OnMessage(msg, wParam, lParam) : FALSE;
}
