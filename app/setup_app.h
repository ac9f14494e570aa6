// The application object: decides from the command line whether this run
// installs or uninstalls, and drives the run.
#pragma once

#include "setup_context.h"
#include "win_app.h"

#include <string>

class CSetupApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

    // The two halves of an uninstallation.
    BOOL HandOffUninstall();
    BOOL RemoveInstallation();

    // What InitInstance chose from the command line.
    enum class RunMode { Install, HandOffUninstall, RemoveInstallation, Nothing };
    static RunMode ChooseRunMode(int argc, char** argv);

    // The program's path, its record's name and the package, for this run.
    SetupContext m_context;

private:
    void Run(RunMode mode);
};

extern CSetupApp theApp;

// The longest program path the setup program accepts (the buffer of the
// original design held 1023 characters and a NUL).
constexpr size_t kMaxSetupPath = 1023;
