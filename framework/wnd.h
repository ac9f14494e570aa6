// A thin view of a window handle with the calls the dialogs use.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
public:
    virtual ~CWnd() = default;

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text) const {
        ::SetDlgItemTextA(m_hWnd, id, text.c_str());
    }
    LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendDlgItemMessageA(m_hWnd, id, msg, wParam, lParam);
    }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    HFONT GetFont() const {
        return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    void CenterWindow() const;

    HWND m_hWnd = nullptr;
};

// Text of any window, however long.
std::string GetWindowTextOf(HWND window);
