// The two halves of an uninstallation as the user meets them: the installed
// program asks and hands over; the copy removes the installation and tells,
// in one message, what it had to leave. Without a user, the installed
// program asks nothing and waits for the copy, and the messages go to the log.
#include "setup_app.h"

#include "exit_codes.h"
#include "install_log.h"
#include "path_helpers.h"
#include "problem_message.h"
#include "uninstall_dlg.h"
#include "uninstallation.h"
#include "unique_handle.h"
#include "user_interface.h"

namespace {

// The removal's problem, or the list of what it left, as the one message;
// the exit code says whether all of it went.
int TellRemoval(const RemovalOutcome& outcome) {
    ShowProblem(outcome.problem);
    const std::string left = LeftItemsText(outcome.left);
    if (!left.empty())
        AfxMessageBox(left, MB_OK | MB_ICONEXCLAMATION);
    if (outcome.problem)
        return ExitCodeFor(outcome.problem);
    return outcome.left.empty() ? kExitDone : kExitUninstallFailed;
}

} // namespace

int CSetupApp::HandOffUninstall() {
    CUninstallDlg confirmation;
    if (confirmation.DoModal() != IDOK)
        return kExitCancelled;
    const Problem problem = HandOffToTemporaryCopy(__argv[0]);
    ShowProblem(problem);
    return ExitCodeForHandOff(problem);
}

int CSetupApp::RemoveInstallation(const std::string& installedProgram) {
    return TellRemoval(::RemoveInstallation(installedProgram, __argv[0]));
}

int CSetupApp::HandOffUninstallSilently(const std::string& logFile, InstallLog& log) {
    UniqueKernelHandle copy;
    const Problem problem =
        HandOffToTemporaryCopy(__argv[0], setupcore::SilentRemovalSuffix(logFile), &copy);
    if (problem) {
        ShowProblem(problem); // into the log
        return ExitCodeForHandOff(problem);
    }
    // Whoever started this run learns from its end that the removal is over.
    // Meanwhile this process must not hold the install directory as its
    // current directory, or the directory could not go.
    const std::string temporary = TemporaryDirectoryPath();
    if (!temporary.empty())
        ::SetCurrentDirectoryA(temporary.c_str());
    log.Line("Waiting for the temporary copy to remove the installation");
    DWORD exitCode = kExitUninstallFailed;
    if (::WaitForSingleObject(copy.get(), INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(copy.get(), &exitCode))
        log.Line("Lost sight of the temporary copy");
    log.Line("The temporary copy ended with exit code " + std::to_string(exitCode));
    return static_cast<int>(exitCode);
}

int CSetupApp::RemoveInstallationSilently(const std::string& installedProgram, InstallLog& log) {
    return TellRemoval(::RemoveInstallation(installedProgram, __argv[0], &log)); // into the log
}
