// A dialog box built from a resource template. The dialog procedure only finds
// the object and forwards each message to one virtual handler.
#pragma once

#include "unique_handle.h"
#include "wnd.h"

#include <vector>

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // Runs the dialog modally, unless the user-interface seam answers for it.
    virtual INT_PTR DoModal();

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Commands other than OK and Cancel; TRUE when handled.
    virtual BOOL OnCommand(UINT id, UINT code) { return FALSE; }
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    // Creates the dialog's window without a modal loop of its own: the
    // caller owns the window (and destroys it) and keeps it alive.
    HWND CreateModeless();
    // Forwards one message; TRUE when the dialog handled it.
    virtual BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // For dialog procedures: ties the window to its object at WM_INITDIALOG,
    // fitting the template's framed bitmaps to their frames (framed_bitmap.h)
    // before OnInitDialog, and finds the object again for every later message
    // (null once the window is going).
    static BOOL Attach(HWND window, CDialog* self);
    static CDialog* Lookup(HWND window, UINT msg);

private:
    INT_PTR RunModalLoop();
    // The bitmaps the dialog's controls show, for as long as its window lives.
    std::vector<UniqueBitmap> framedBitmaps_;
    static INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
};
