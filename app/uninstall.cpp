// The two halves of an uninstallation as the user meets them: the installed
// program asks and hands over; the temporary copy removes the installation.
// Without a user, the installed program asks nothing and waits for the copy.
#include "setup_app.h"

#include "exit_codes.h"
#include "install_log.h"
#include "problem_message.h"
#include "uninstall_dlg.h"
#include "uninstallation.h"
#include "unique_handle.h"

int CSetupApp::HandOffUninstall() {
    CUninstallDlg confirmation;
    if (confirmation.DoModal() != IDOK)
        return kExitCancelled;
    const Problem problem = HandOffToTemporaryCopy(__argv[0]);
    // Of the hand-off's failures only a path too long to use is told; the
    // others end it without a word.
    if (problem.kind == ProblemKind::PathTooLong)
        ShowProblem(problem);
    return ExitCodeForHandOff(problem);
}

int CSetupApp::RemoveInstallation(const std::string& installedProgram) {
    const Problem problem = ::RemoveInstallation(installedProgram, __argv[0]);
    ShowProblem(problem);
    return ExitCodeFor(problem);
}

int CSetupApp::HandOffUninstallSilently(const std::string& logFile, InstallLog& log) {
    UniqueKernelHandle copy;
    const Problem problem =
        HandOffToTemporaryCopy(__argv[0], setupcore::SilentRemovalSuffix(logFile), &copy);
    if (problem) {
        ShowProblem(problem); // into the log
        log.Line("Could not hand over to a temporary copy: " + problem.path + " (system error " +
                 std::to_string(problem.error) + ")");
        return ExitCodeForHandOff(problem);
    }
    // Whoever started this run learns from its end that the removal is over.
    // Meanwhile this process must not hold the install directory as its
    // current directory, or the directory could not go.
    char temporary[MAX_PATH];
    if (::GetTempPathA(MAX_PATH, temporary))
        ::SetCurrentDirectoryA(temporary);
    log.Line("Waiting for the temporary copy to remove the installation");
    DWORD exitCode = kExitUninstallFailed;
    if (::WaitForSingleObject(copy.get(), INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(copy.get(), &exitCode))
        log.Line("Lost sight of the temporary copy");
    log.Line("The temporary copy ended with exit code " + std::to_string(exitCode));
    return static_cast<int>(exitCode);
}

int CSetupApp::RemoveInstallationSilently(const std::string& installedProgram, InstallLog& log) {
    const Problem problem = ::RemoveInstallation(installedProgram, __argv[0], &log);
    ShowProblem(problem); // into the log
    return ExitCodeFor(problem);
}
