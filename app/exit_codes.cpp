#include "exit_codes.h"

#include "installation.h"
#include "uninstallation.h"

ExitCode ExitCodeFor(const Problem& problem) {
    switch (problem.kind) {
    case ProblemKind::None:
        return kExitDone;
    case ProblemKind::NoMemory:
        return kExitNoMemory;
    case ProblemKind::NoSystemDirectory: // the package names a place this system lacks
        return kExitPackageInvalid;
    case ProblemKind::CannotOpenFile:
    case ProblemKind::CannotCreateFile:
    case ProblemKind::FileInvalid:
    case ProblemKind::CannotWriteFile:
        return kExitCopyFailed;
    case ProblemKind::CannotCreateInstallDir:
    case ProblemKind::InstallDirTooLong:
        return kExitDirectoryRefused;
    case ProblemKind::CannotOpenRecord:
    case ProblemKind::RecordInvalid:
    case ProblemKind::PathTooLong:
    case ProblemKind::CannotStartProgram:
        return kExitUninstallFailed;
    case ProblemKind::AnotherRunActive:
        return kExitAnotherRun;
    case ProblemKind::Cancelled:
        // The copy run stops so only when a target stayed in use and the
        // prompt (the user, or a silent run's "no") declined to try again.
        return kExitFileInUse;
    }
    return kExitCopyFailed;
}

ExitCode ExitCodeFor(const InstallOutcome& outcome) {
    if (outcome.stage == InstallStage::AnotherRun)
        return kExitAnotherRun;
    if (outcome.stage == InstallStage::DirectoryRefused)
        return kExitDirectoryRefused;
    return ExitCodeFor(outcome.problem);
}

ExitCode ExitCodeFor(const RemovalOutcome& outcome) {
    if (outcome.problem)
        return ExitCodeFor(outcome.problem);
    if (!outcome.left.empty())
        return kExitUninstallFailed;
    return outcome.restartPending ? kExitRestartNeeded : kExitDone;
}

ExitCode ExitCodeForPackage(const Problem& problem) {
    return problem.kind == ProblemKind::NoMemory ? kExitNoMemory : kExitPackageInvalid;
}

ExitCode ExitCodeForHandOff(const Problem& problem) {
    if (!problem)
        return kExitDone;
    return problem.kind == ProblemKind::NoMemory ? kExitNoMemory : kExitUninstallFailed;
}
