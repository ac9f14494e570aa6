#include "win_app.h"

#include <commctrl.h>

namespace {

CWinApp* g_app = nullptr;

std::string ModuleBaseName() {
    char path[MAX_PATH * 4];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path, length < sizeof path ? length : 0);
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

} // namespace

CWinApp::CWinApp(const char* appName) {
    g_app = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
    m_pszAppName = appName ? appName : ModuleBaseName();
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return m_nExitCode;
}

CWinApp* AfxGetApp() {
    return g_app;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_app ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

int AfxRunApplication() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (app->InitInstance()) {
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return app->ExitInstance();
}
