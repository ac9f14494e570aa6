#include "wnd.h"

#include <vector>

std::string GetWindowTextOf(HWND window) {
    int length = ::GetWindowTextLengthA(window);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1);
    int got = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

std::string CWnd::GetDlgItemText(int id) const {
    return GetWindowTextOf(GetDlgItem(id));
}

void CWnd::CenterWindow() const {
    RECT desktop, self;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    ::GetWindowRect(m_hWnd, &self);
    int width = self.right - self.left, height = self.bottom - self.top;
    int x = desktop.left + (desktop.right - desktop.left - width) / 2;
    int y = desktop.top + (desktop.bottom - desktop.top - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
