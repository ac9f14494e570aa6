#include "wizard_driver.h"

#include <commctrl.h>
#include <prsht.h>

namespace wizarddriver {

namespace {

constexpr UINT kMessageTimeout = 2000;

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                          windowdriver::Allowing(kMessageTimeout), &result);
    return static_cast<LRESULT>(result);
}

} // namespace

bool Wizard::WaitForSheet(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        for (HWND window : windowdriver::VisibleTopLevelWindows(process_.Id()))
            if (::GetDlgItem(window, kNext)) {
                sheet_ = window;
                if (Page())
                    return true;
            }
        if (::GetTickCount() - start >= windowdriver::Allowing(milliseconds) ||
            process_.HasExited())
            return false;
        ::Sleep(windowdriver::kPollMilliseconds);
    }
}

HWND Wizard::Page() const {
    return reinterpret_cast<HWND>(Send(sheet_, PSM_GETCURRENTPAGEHWND));
}

std::string Wizard::PageTitle() const {
    return windowdriver::WindowText(Page());
}

std::string Wizard::Text(int controlId) const {
    return windowdriver::WindowText(Control(controlId));
}

void Wizard::SetText(int controlId, const std::string& text) const {
    const std::wstring wide = windowdriver::ToWide(text);
    Send(Control(controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

bool Wizard::IsChecked(int controlId) const {
    return Send(Control(controlId), BM_GETCHECK) == BST_CHECKED;
}

void Wizard::SetChecked(int controlId, bool checked) const {
    Send(Control(controlId), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

std::vector<std::string> Wizard::ListItems(int controlId) const {
    // List-box text crosses processes only as wide text.
    std::vector<std::string> items;
    HWND list = Control(controlId);
    const LRESULT count = Send(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(Send(list, LB_GETTEXTLEN, i)) + 1, L'\0');
        Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(text.size() - 1);
        items.push_back(windowdriver::ToAnsi(text.c_str()));
    }
    return items;
}

void Wizard::PickListItem(int controlId, int index) const {
    HWND list = Control(controlId);
    Send(list, LB_SETCURSEL, static_cast<WPARAM>(index));
    Send(Page(), WM_COMMAND, MAKEWPARAM(controlId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

std::string Wizard::ButtonText(int buttonId) const {
    return windowdriver::WindowText(::GetDlgItem(sheet_, buttonId));
}

bool Wizard::ButtonVisible(int buttonId) const {
    return ::IsWindowVisible(::GetDlgItem(sheet_, buttonId)) != FALSE;
}

HWND Wizard::MessageBox() const {
    for (HWND window : windowdriver::VisibleTopLevelWindows(process_.Id()))
        if (windowdriver::IsMessageBox(window))
            return window;
    return nullptr;
}

bool Wizard::Press(int buttonId) {
    const HWND before = Page();
    ::PostMessageW(sheet_, PSM_PRESSBUTTON,
                   buttonId == kBack     ? PSBTN_BACK
                   : buttonId == kNext   ? PSBTN_NEXT
                   : buttonId == kFinish ? PSBTN_FINISH
                                         : PSBTN_CANCEL,
                   0);
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start <
           windowdriver::Allowing(windowdriver::kDefaultTimeoutMilliseconds)) {
        ::Sleep(windowdriver::kPollMilliseconds);
        if (!::IsWindow(sheet_) || !::IsWindowVisible(sheet_) || MessageBox() || Page() != before)
            return true;
    }
    return false;
}

} // namespace wizarddriver
