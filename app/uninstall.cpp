// The two halves of an uninstallation as the user meets them: the installed
// program asks and hands over; the temporary copy removes the installation.
#include "setup_app.h"

#include "problem_message.h"
#include "uninstall_dlg.h"
#include "uninstallation.h"

BOOL CSetupApp::HandOffUninstall() {
    CUninstallDlg confirmation;
    if (confirmation.DoModal() != IDOK)
        return TRUE;
    const Problem problem = HandOffToTemporaryCopy(__argv[0]);
    // Of the hand-off's failures only a path too long to use is told; the
    // others end it without a word.
    if (problem.kind == ProblemKind::PathTooLong)
        ShowProblem(problem);
    return problem ? FALSE : TRUE;
}

BOOL CSetupApp::RemoveInstallation() {
    ShowProblem(::RemoveInstallation(__argv[2], __argv[0]));
    return TRUE;
}
