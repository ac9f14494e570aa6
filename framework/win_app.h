// The application object: the program's driver, called once to initialise and
// once to exit. There is exactly one, reachable through AfxGetApp.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    // With no name given, the program file's base name becomes the name.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    std::string m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

// Runs the application object: InitInstance; only when that returns TRUE, a
// message loop until the main window quits; then ExitInstance.
int AfxRunApplication();
