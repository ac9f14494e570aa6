#include "setup_app.h"

#include "string_table.h"
#include "user_interface.h"
#include "path_helpers.h"
#include "resource.h"
#include "setup_dat.h"

#include <mbstring.h>
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
    g_szSetupPath = programPath;
    g_strInfoFileName = ExtractFileName(programPath, false) + "Info.dat";
    theSetupDat.SetDirectories(ExtractDirectory(g_szSetupPath), "");
    if (!ZlibIsCompatible()) {
        AfxMessageBox(FormatResourceString(IDS_FILE_INVALID,
                                           AppendPath(theSetupDat.m_szSourceDir, "zlib1.dll")));
        return FALSE;
    }

    switch (ChooseRunMode(__argc, __argv)) {
    case RunMode::Install:
        if (!theSetupDat.ReadSetupDat("Setup.dat")) {
            AfxMessageBox(IDS_NO_SETUP_INFO);
            return FALSE;
        }
        RunInstallWizard();
        return FALSE;
    case RunMode::HandOffUninstall:
        HandOffUninstall();
        return FALSE;
    case RunMode::RemoveInstallation:
        RemoveInstallation();
        return FALSE;
    case RunMode::Nothing:
        return FALSE;
    }
    return FALSE;
}

int CSetupApp::ExitInstance() {
    // No exit command is started: there is no program for it to run.
    return CWinApp::ExitInstance();
}
