// The unattended round of the demo, as an administrator's script would run
// it: a silent installation of a second copy of the package into another
// directory, its exit code and the last lines of its log, then the removal
// through the entry's QuietUninstallString, waited for like any command, and
// what is left once it has ended.
#pragma once

#include "screenshot.h"

#include <string>

struct SilentRound {
    std::string setupDirectory;  // a fresh copy of the package
    std::string updateDirectory; // a second version of it, installed over the first; may be empty
    std::string installDir;
    std::string uninstallKey; // below HKEY_CURRENT_USER
    std::string displayName;  // the caption of the post-install program's greeting
};

// With a second version, that is installed silently over the first before
// the removal, and what changed is printed: the entry's version, the files.
// True when every run ended with exit code 0 and nothing is left.
bool RunSilentRound(const SilentRound& round, Screenshots& shots);
