// Property pages and the sheet that holds them; in wizard mode the sheet shows
// one page at a time with Back, Next and Finish.
#pragma once

#include "dialog.h"

#include <prsht.h>

#include <vector>

// The sheet's button ids and its wizard result.
constexpr int ID_WIZBACK = 0x3023;
constexpr int ID_WIZNEXT = 0x3024;
constexpr int ID_WIZFINISH = 0x3025;

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId);

    // Each returns what the sheet is to do: TRUE accepts, FALSE refuses.
    virtual BOOL OnSetActive() { return TRUE; }
    virtual BOOL OnKillActive() { return TRUE; }
    virtual BOOL OnWizardFinish() { return TRUE; }

    // Pages never end the sheet themselves.
    void OnOK() override {}
    void OnCancel() override {}

    PROPSHEETPAGEA m_psp;

private:
    // What the sheet's notification asks of the page, as its message result.
    LRESULT OnNotify(const NMHDR& header);
    static INT_PTR CALLBACK PageProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
};

class CPropertySheet : public CWnd {
public:
    CPropertySheet();

    void AddPage(CPropertyPage* page) { pages_.push_back(page); }
    // ID_WIZFINISH (wizard) or IDOK when the sheet was completed, else IDCANCEL.
    INT_PTR DoModal();

    PROPSHEETHEADERA m_psh;

private:
    static int CALLBACK SheetCallback(HWND window, UINT msg, LPARAM lParam);
    std::vector<CPropertyPage*> pages_;
};
