#include "user_interface.h"

#include "string_table.h"
#include "win_app.h"
#include "wnd.h"

namespace {

CUserInterface g_realUserInterface;
CUserInterface* g_userInterface = &g_realUserInterface;

} // namespace

void SetUserInterface(CUserInterface* ui) {
    g_userInterface = ui ? ui : &g_realUserInterface;
}

CUserInterface& UserInterface() {
    return *g_userInterface;
}

int AfxMessageBox(const std::string& text, UINT type) {
    if (std::optional<int> answer = UserInterface().InterceptMessageBox(text, type))
        return *answer;
    CWinApp* app = AfxGetApp();
    const char* caption = app ? app->m_pszAppName.c_str() : nullptr;
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxA(owner, text.c_str(), caption, type | MB_SETFOREGROUND);
}

int AfxMessageBox(UINT stringId, UINT type) {
    return AfxMessageBox(LoadResourceString(stringId), type);
}
