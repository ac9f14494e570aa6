// How a run of the setup program ended, as its exit code: the one word an
// administrator's script or a package manager gets from it. Every mode ends
// with one of these; the table is in the README.
#pragma once

#include "problem.h"

struct InstallOutcome;

enum ExitCode : int {
    kExitDone = 0,             // installed, or uninstalled
    kExitCancelled = 1,        // the user declined (Cancel, No)
    kExitPackageInvalid = 2,   // Setup.dat missing or damaged, or the program unusable here
    kExitDirectoryRefused = 3, // the install directory refused or not creatable
    kExitFileInUse = 4,        // a target held by another program
    kExitCopyFailed = 5,       // a packaged file unreadable or damaged, a target not writable
    kExitNoMemory = 6,         // out of memory
    kExitUninstallFailed = 7,  // the install record unusable, or the hand-off failed
    kExitLogFailed = 8,        // the log asked for by /LOG= could not be made or opened
    kExitBadCommandLine = 87,  // an unattended run's command line refused (ERROR_INVALID_PARAMETER)
    kExitAnotherRun = 1618,    // another run of the product is under way (ERROR_INSTALL_ALREADY_RUNNING)
    kExitRestartNeeded = 3010, // uninstalled, but a file of it goes only at the next restart
                               // (ERROR_SUCCESS_REBOOT_REQUIRED)
};

// The one mapping from what the engine returns to the exit code.
ExitCode ExitCodeFor(const Problem& problem);
ExitCode ExitCodeFor(const InstallOutcome& outcome);
// A package index that could not be read.
ExitCode ExitCodeForPackage(const Problem& problem);
struct RemovalOutcome;
// A removal that began: a file of the installation left to the restart
// makes it 3010, anything left for good 7.
ExitCode ExitCodeFor(const RemovalOutcome& outcome);
// A hand-off to the temporary copy that failed: whatever the file, the
// uninstallation did not start.
ExitCode ExitCodeForHandOff(const Problem& problem);
