// The installer run as a user who keeps every default: each wizard page is
// photographed and left by its forward button (I Agree, Next, Install), and
// the program is awaited to its end, every message box on the way answered.
#pragma once

#include "screenshot.h"

#include <windows.h>

#include <string>

struct InstallerRun {
    bool completed = false;    // left by Install, and the program ended by itself
    DWORD exitCode = 0;        // valid when completed
    std::string installDir;    // as the directory page showed it
    bool launchTicked = false; // "Launch ..." on the last page
};

InstallerRun RunInstaller(const std::string& setupProgram, Screenshots& shots);
