#include "message_box.h"

#include "dialog.h"
#include "win_app.h"

namespace {

CUserInterface g_realUserInterface;
CUserInterface* g_userInterface = &g_realUserInterface;

} // namespace

int CUserInterface::MessageBox(const std::string& text, UINT type) {
    CWinApp* app = AfxGetApp();
    const char* caption = app ? app->m_pszAppName.c_str() : nullptr;
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxA(owner, text.c_str(), caption, type | MB_SETFOREGROUND);
}

INT_PTR CUserInterface::RunModal(CDialog& dialog) {
    return dialog.RunModalLoop();
}

void SetUserInterface(CUserInterface* ui) {
    g_userInterface = ui ? ui : &g_realUserInterface;
}

CUserInterface& UserInterface() {
    return *g_userInterface;
}

int AfxMessageBox(const std::string& text, UINT type) {
    return UserInterface().MessageBox(text, type);
}

int AfxMessageBox(UINT stringId, UINT type) {
    return AfxMessageBox(LoadResourceString(stringId), type);
}

std::string LoadResourceString(UINT stringId) {
    // A string-table entry holds at most 4097 characters.
    char buffer[4100];
    int length = ::LoadStringA(AfxGetInstanceHandle(), stringId, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string FormatResourceString(UINT stringId, const std::string& argument) {
    std::string text = LoadResourceString(stringId);
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}
