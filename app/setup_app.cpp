#include "setup_app.h"

#include "current_directory.h"
#include "exit_codes.h"
#include "hand_off_directory.h"
#include "install_log_file.h"
#include "install_wizard.h"
#include "path_helpers.h"
#include "problem_message.h"
#include "resource.h"
#include "silent_install.h"
#include "string_table.h"
#include "unattended_session.h"
#include "user_interface.h"

#include <zlib.h>
#include <stdlib.h>

#include <new>

setupcore::SetupCommandLine CSetupApp::ParseCommandLine(int argc, char** argv,
                                                        const std::string& rawCommandLine) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(argv[i]);
    return setupcore::ParseSetupCommandLine(arguments, rawCommandLine);
}

CSetupApp::RunMode CSetupApp::ChooseRunMode(int argc, char** argv) {
    return ParseCommandLine(argc, argv).mode;
}

namespace {

// The zlib1.dll loaded beside the program must speak the interface it was
// built against; a foreign one would corrupt every file it inflates.
bool ZlibIsCompatible() {
    return zlibVersion()[0] == ZLIB_VERSION[0];
}

bool IsUnattended(setupcore::RunMode mode) {
    using setupcore::RunMode;
    switch (mode) {
    case RunMode::SilentInstall:
    case RunMode::ProgressInstall:
    case RunMode::SilentHandOffUninstall:
    case RunMode::SilentRemoveInstallation:
    case RunMode::BadCommandLine:
        return true;
    case RunMode::Install:
    case RunMode::HandOffUninstall:
    case RunMode::RemoveInstallation:
    case RunMode::Nothing:
        break;
    }
    return false;
}

// The log an unattended run asked for, in canonical form: a relative name
// lies in the directory the program was started from (the temporary copy of
// an uninstallation is handed the same absolute path). Without /LOG=, the
// default log. A name with no canonical form refuses the command line.
std::string LogFileOf(setupcore::SetupCommandLine& commandLine, const std::string& program) {
    if (commandLine.logFile.empty())
        return DefaultLogPath(program);
    const CurrentDirectoryKeeper startedIn;
    const setupcore::CanonicalPath log = CanonicalPathOf(commandLine.logFile, startedIn.Saved());
    if (log)
        return log.path;
    commandLine.mode = setupcore::RunMode::BadCommandLine;
    commandLine.refused = "/LOG=" + commandLine.logFile;
    return DefaultLogPath(program);
}

// A log named by /LOG= is what the caller will read to learn what happened:
// a run that cannot keep it does nothing. Only a refused command line still
// ends with its own code. The default log was asked for by nobody; a
// temporary directory that takes no file must not stop an installation.
bool LogMissingStopsRun(const setupcore::SetupCommandLine& commandLine,
                        const UnattendedSession& session) {
    return !session.LogOpened() && !commandLine.logFile.empty() &&
           commandLine.mode != setupcore::RunMode::BadCommandLine;
}

// One short message when an earlier run had to be put right; an unattended
// run's session writes it to the log.
void TellRecovery(const SetupContext& context) {
    if (context.recovered == RecoveryFound::InstallUndone)
        AfxMessageBox(FormatResourceString(IDS_RUN_UNDONE, context.g_strDisplayName),
                      MB_OK | MB_ICONINFORMATION);
    else if (context.recovered == RecoveryFound::InstallFinished ||
             context.recovered == RecoveryFound::UninstallFinished)
        AfxMessageBox(FormatResourceString(IDS_RUN_FINISHED, context.g_strDisplayName),
                      MB_OK | MB_ICONINFORMATION);
}

} // namespace

BOOL CSetupApp::InitInstance() {
    setupcore::SetupCommandLine commandLine = ParseCommandLine(__argc, __argv, ::GetCommandLineA());
    if (!IsUnattended(commandLine.mode)) {
        m_nExitCode = RunToExitCode(commandLine, std::string(), nullptr);
        return FALSE;
    }
    // Nobody is there to read a message: each goes to the log instead.
    const std::string logFile = LogFileOf(commandLine, __argv[0]);
    UnattendedSession session(logFile);
    if (LogMissingStopsRun(commandLine, session)) {
        m_nExitCode = kExitLogFailed;
        return FALSE;
    }
    if (commandLine.noRestart)
        session.Log().Line("/NORESTART: nothing to hold back, this program never restarts Windows");
    // The temporary copy of a silent removal is handed the log only when it
    // is there to append to; otherwise it keeps its default, as this run does.
    m_nExitCode =
        RunToExitCode(commandLine, session.LogOpened() ? logFile : std::string(), &session.Log());
    m_context.log = nullptr; // the session's log ends with it
    session.End(m_nExitCode);
    return FALSE;
}

int CSetupApp::RunToExitCode(const setupcore::SetupCommandLine& commandLine,
                             const std::string& logFile, InstallLog* log) {
    try {
        return Run(commandLine, logFile, log);
    } catch (const std::bad_alloc&) {
        // What was under way has been undone where it could be; the user
        // learns why it stopped.
        AfxMessageBox(IDS_NO_MEMORY);
        return kExitNoMemory;
    }
}

int CSetupApp::Run(const setupcore::SetupCommandLine& commandLine, const std::string& logFile,
                   InstallLog* log) {
    const std::string programPath = __argv[0];
    if (programPath.size() > kMaxSetupPath) {
        // The rest of the run derives its directories from this path; a cut
        // copy would point it at the wrong place.
        AfxMessageBox(FormatResourceString(IDS_PATH_TOO_LONG, programPath));
        return kExitPackageInvalid;
    }
    m_context.StartFrom(programPath);
    m_context.log = log;
    if (!ZlibIsCompatible()) {
        AfxMessageBox(FormatResourceString(IDS_FILE_INVALID,
                                           AppendPath(m_context.SetupDirectory(), "zlib1.dll")));
        return kExitPackageInvalid;
    }

    switch (commandLine.mode) {
    case RunMode::Install:
        if (const int failed = ReadPackage())
            return failed;
        return RunInstallWizard(m_context, commandLine.install, commandLine.stated);
    case RunMode::HandOffUninstall:
        return HandOffUninstall();
    case RunMode::RemoveInstallation:
        return RemoveInstallation(commandLine.installedProgram);
    case RunMode::Nothing:
        return kExitDone;
    case RunMode::SilentInstall:
    case RunMode::ProgressInstall:
        if (const int failed = ReadPackage())
            return failed;
        return RunSilentInstall(m_context, commandLine.install, commandLine.stated,
                                commandLine.mode == RunMode::ProgressInstall, *log);
    case RunMode::SilentHandOffUninstall:
        return HandOffUninstallSilently(logFile, *log);
    case RunMode::SilentRemoveInstallation:
        return RemoveInstallationSilently(commandLine.installedProgram, *log);
    case RunMode::BadCommandLine:
        log->Line("Refused: the switch " + commandLine.refused +
                  " is not one of an unattended installation's");
        return kExitBadCommandLine;
    }
    return kExitDone;
}

int CSetupApp::ReadPackage() {
    if (Problem problem =
            CSetupDat(m_context.SetupDirectory()).ReadSetupDat("Setup.dat", m_context.package)) {
        ShowProblem(problem); // an unattended run's session writes it to the log
        AfxMessageBox(IDS_NO_SETUP_INFO);
        return ExitCodeForPackage(problem);
    }
    m_context.DerivePackageNames();
    // A run of the product that died midway is put right before anything else.
    RemoveStaleHandOffDirectories(ExtractFileName(m_context.SetupFileName(), false),
                                  m_context.SetupDirectory(), m_context.log);
    m_context.recovered =
        RecoverBeforeStarting(m_context.g_strDisplayName, __argv[0], m_context.log).found;
    TellRecovery(m_context);
    // An installation of this package already here is the one this run updates.
    m_context.installed = FindInstalledVersion(m_context.g_strDisplayName,
                                               m_context.g_strInfoFileName, m_context.log);
    return kExitDone;
}
