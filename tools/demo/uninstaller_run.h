// The uninstaller run as the Windows list of programs starts it: the
// recorded uninstall command, its confirmation answered Yes, and then the
// wait for the temporary copy that does the removal, until it has scheduled
// its own file for deletion at the next restart and ended.
#pragma once

#include "screenshot.h"

#include <string>

struct UninstallerRun {
    bool completed = false;    // confirmed, and the copy scheduled itself
    std::string temporaryCopy; // the copy's path; empty when none came
};

UninstallerRun RunUninstaller(const std::string& uninstallCommand, Screenshots& shots);
