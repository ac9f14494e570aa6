// The two halves of an uninstallation as the user meets them: the installed
// program asks and hands over; the copy removes the installation and tells,
// in one message, what it had to leave.
#include "setup_app.h"

#include "problem_message.h"
#include "uninstall_dlg.h"
#include "uninstallation.h"
#include "user_interface.h"

BOOL CSetupApp::HandOffUninstall() {
    CUninstallDlg confirmation;
    if (confirmation.DoModal() != IDOK)
        return TRUE;
    const Problem problem = HandOffToTemporaryCopy(__argv[0]);
    ShowProblem(problem);
    return problem ? FALSE : TRUE;
}

BOOL CSetupApp::RemoveInstallation() {
    const RemovalOutcome outcome = ::RemoveInstallation(__argv[2], __argv[0]);
    ShowProblem(outcome.problem);
    const std::string left = LeftItemsText(outcome.left);
    if (!left.empty())
        AfxMessageBox(left, MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}
