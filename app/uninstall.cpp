// The two halves of an uninstallation as the user meets them: the installed
// program asks, hands over and waits for the copy, so that whoever started
// it (a package manager too) learns from its end that the removal is over;
// the copy removes the installation and tells, in one message, what it had
// to leave. Without a user, the installed program asks nothing, and the
// messages go to the log.
#include "setup_app.h"

#include "exit_codes.h"
#include "hand_off_directory.h"
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
    return ExitCodeFor(outcome);
}

// Waits for the temporary copy and ends with its exit code. Meanwhile this
// process must not hold the install directory as its current directory, or
// the directory could not go; its own file the copy moves aside.
int WaitForCopy(const UniqueKernelHandle& copy, InstallLog* log) {
    const std::string temporary = TemporaryDirectoryPath();
    if (!temporary.empty())
        ::SetCurrentDirectoryA(temporary.c_str());
    LogLine(log, "Waiting for the temporary copy to remove the installation");
    DWORD exitCode = kExitUninstallFailed;
    if (::WaitForSingleObject(copy.get(), INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(copy.get(), &exitCode))
        LogLine(log, "Lost sight of the temporary copy");
    LogLine(log, "The temporary copy ended with exit code " + std::to_string(exitCode));
    return static_cast<int>(exitCode);
}

} // namespace

int CSetupApp::HandOffUninstall() {
    CUninstallDlg confirmation;
    if (confirmation.DoModal() != IDOK)
        return kExitCancelled;
    UniqueKernelHandle copy;
    const Problem problem = HandOffToTemporaryCopy(__argv[0], std::string(), &copy);
    if (problem) {
        ShowProblem(problem);
        return ExitCodeForHandOff(problem);
    }
    return WaitForCopy(copy, nullptr);
}

int CSetupApp::RemoveInstallation(const std::string& installedProgram) {
    RemoveStaleHandOffDirectories(ExtractFileName(installedProgram, false),
                                  ExtractDirectory(__argv[0]), nullptr);
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
    return WaitForCopy(copy, &log);
}

int CSetupApp::RemoveInstallationSilently(const std::string& installedProgram, InstallLog& log) {
    RemoveStaleHandOffDirectories(ExtractFileName(installedProgram, false),
                                  ExtractDirectory(__argv[0]), &log);
    return TellRemoval(::RemoveInstallation(installedProgram, __argv[0], &log)); // into the log
}
