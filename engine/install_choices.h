// What the user chose for the installation, one field a choice. The wizard's
// pages fill it as they are left; an unattended run fills it from its
// command line.
#pragma once

#include <string>

struct InstallChoices {
    std::string installDir;
    // The Start menu's Programs folder followed by one backslash; empty when
    // the shell knows none, and then no program group is made.
    std::string programsFolder;
    std::string groupName; // at most 259 characters are used
    bool desktopShortcut = true;
    bool quickLaunchShortcut = true;
    bool launchProgram = true;
    bool autoStart = false;
};
