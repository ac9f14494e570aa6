// Property pages and the sheet that holds them; in wizard mode the sheet shows
// one page at a time with Back, Next and Finish.
#pragma once

#include "dialog.h"
#include "unique_handle.h"

#include <prsht.h>

#include <string>
#include <vector>

// The sheet's button ids and its wizard result.
constexpr int ID_WIZBACK = 0x3023;
constexpr int ID_WIZNEXT = 0x3024;
constexpr int ID_WIZFINISH = 0x3025;

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId);
    ~CPropertyPage() override;
    CPropertyPage(const CPropertyPage&) = delete;
    CPropertyPage& operator=(const CPropertyPage&) = delete;

    // The sheet the page was added to; its window is the page's parent.
    CPropertySheet* GetSheet() const { return m_pSheet; }

    // Each returns what the sheet is to do: TRUE accepts, FALSE refuses.
    virtual BOOL OnSetActive() { return TRUE; }
    virtual BOOL OnKillActive() { return TRUE; }
    virtual BOOL OnWizardFinish() { return TRUE; }
    // Next pressed: 0 goes on to the following page, -1 stays on this one.
    virtual LRESULT OnWizardNext() { return 0; }

    // Pages never end the sheet themselves.
    void OnOK() override {}
    void OnCancel() override {}

    PROPSHEETPAGEA m_psp;

private:
    friend class CPropertySheet;
    CPropertySheet* m_pSheet = nullptr;

    // What the sheet's notification asks of the page, as its message result.
    LRESULT OnNotify(const NMHDR& header);
    static INT_PTR CALLBACK PageProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
};

class CPropertySheet : public CWnd {
public:
    CPropertySheet();
    ~CPropertySheet() override;
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    void AddPage(CPropertyPage* page);
    // ID_WIZFINISH (wizard) or IDOK when the sheet was completed, else IDCANCEL.
    INT_PTR DoModal();
    // Opens the sheet modeless: the caller pumps its messages, and the window
    // lives until the object goes. FALSE when the sheet could not be made.
    BOOL Create();

    // Enables the wizard buttons named by PSWIZB_ flags. The request is
    // queued, so it takes effect once the sheet has finished a page change.
    void SetWizardButtons(DWORD flags) const;
    void ShowButton(int buttonId, int showCommand) const;
    void SetButtonText(int buttonId, const std::string& text) const {
        SetDlgItemText(buttonId, text);
    }

    PROPSHEETHEADERA m_psh;

private:
    // Hands the pages to the common controls; PropertySheetA's result.
    INT_PTR Run();
    // The window is gone: it is no longer the application's main window.
    void ForgetWindow();
    static int CALLBACK SheetCallback(HWND window, UINT msg, LPARAM lParam);

    std::vector<CPropertyPage*> pages_;
    std::vector<PROPSHEETPAGEA> pageHeaders_;
    UniqueWindow modeless_;
};
