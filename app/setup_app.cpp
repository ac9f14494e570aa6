#include "setup_app.h"

#include "install_wizard.h"
#include "path_helpers.h"
#include "problem_message.h"
#include "resource.h"
#include "string_table.h"
#include "user_interface.h"

#include <mbstring.h>
#include <new>
#include <zlib.h>
#include <stdlib.h>

CSetupApp::RunMode CSetupApp::ChooseRunMode(int argc, char** argv) {
    // The switch's first character is never looked at: "/uninstall", "-uninstall"
    // and "xUNINSTALL" all select uninstalling.
    bool isSwitch = argc >= 2 && argv[1][0] != '\0' &&
                    _mbsicmp(reinterpret_cast<const unsigned char*>(argv[1] + 1),
                             reinterpret_cast<const unsigned char*>("uninstall")) == 0;
    if (!isSwitch)
        return RunMode::Install;
    if (argc == 2)
        return RunMode::HandOffUninstall;
    if (argc == 3)
        return RunMode::RemoveInstallation;
    return RunMode::Nothing;
}

namespace {

// The zlib1.dll loaded beside the program must speak the interface it was
// built against; a foreign one would corrupt every file it inflates.
bool ZlibIsCompatible() {
    return zlibVersion()[0] == ZLIB_VERSION[0];
}

} // namespace

BOOL CSetupApp::InitInstance() {
    Enable3dControls();
    const std::string programPath = __argv[0];
    if (programPath.size() > kMaxSetupPath) {
        // The rest of the run derives its directories from this path; a cut
        // copy would point it at the wrong place.
        AfxMessageBox(FormatResourceString(IDS_PATH_TOO_LONG, programPath));
        return FALSE;
    }
    m_context.StartFrom(programPath);
    if (!ZlibIsCompatible()) {
        AfxMessageBox(FormatResourceString(IDS_FILE_INVALID,
                                           AppendPath(m_context.SetupDirectory(), "zlib1.dll")));
        return FALSE;
    }

    try {
        RunMode mode = ChooseRunMode(__argc, __argv);
        Run(mode);
    } catch (const std::bad_alloc&) {
        // What was under way has been undone where it could be; the user
        // learns why it stopped.
        AfxMessageBox(IDS_NO_MEMORY);
    }
    return FALSE;
}

void CSetupApp::Run(RunMode mode) {
    switch (mode) {
    case RunMode::Install:
        if (Problem problem = m_context.theSetupDat.ReadSetupDat("Setup.dat")) {
            ShowProblem(problem);
            AfxMessageBox(IDS_NO_SETUP_INFO);
            return;
        }
        m_context.DerivePackageNames();
        RunInstallWizard(m_context);
        return;
    case RunMode::HandOffUninstall:
        HandOffUninstall(); // it tells the user itself
        return;
    case RunMode::RemoveInstallation:
        RemoveInstallation();
        return;
    case RunMode::Nothing:
        return;
    }
}

int CSetupApp::ExitInstance() {
    // No exit command is started: there is no program for it to run.
    return CWinApp::ExitInstance();
}
