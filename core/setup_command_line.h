// The setup program's command line, read once at start-up: which run this is
// and, for an unattended installation, what it is to do. Text in, choices
// out; no Windows header, so it is tested natively.
#pragma once

#include <string>
#include <vector>

namespace setupcore {

enum class RunMode {
    Install,                  // the wizard
    HandOffUninstall,         // ask, then hand over to a temporary copy
    RemoveInstallation,       // the temporary copy's role
    Nothing,                  // a form of the uninstall switch that has never done anything
    SilentInstall,            // "/S": no window at all
    ProgressInstall,          // "/SP": only the copy run's progress window
    SilentHandOffUninstall,   // "/UNINSTALL /S": ask nothing, hand over, wait
    SilentRemoveInstallation, // the temporary copy of a silent uninstallation
    BadCommandLine,           // "/S" or "/SP" with a switch that is not theirs
};

// What the user chose for an installation, one field a choice: the one type
// from the command line to the engine. The wizard's pages start from the
// directory and the group it holds and fill the rest as they are left; an
// unattended run takes the command line's options, and an empty directory
// or group takes the default the wizard proposes.
struct InstallChoices {
    std::string installDir;
    // The Start menu's Programs folder followed by one backslash; empty when
    // the shell knows none, and then no program group is made. Filled by
    // the run, not the command line.
    std::string programsFolder;
    std::string groupName; // at most 259 characters are used
    bool desktopShortcut = true;
    bool quickLaunchShortcut = true;
    bool autoStart = false;
    bool launchProgram = false;
    // For the user alone ("/CURRENTUSER"): below the user's own application
    // data, the group in the user's own Programs folder; no administrator
    // rights needed. Else for everyone ("/ALLUSERS", the default).
    bool perUser = false;
};

// Which choices the command line stated: an update takes every other one as
// the installation it updates has it.
struct StatedChoices {
    bool installDir = false;
    bool groupName = false;
    bool desktopShortcut = false;
    bool quickLaunchShortcut = false;
    bool autoStart = false;
    bool perUser = false;
};

struct SetupCommandLine {
    RunMode mode = RunMode::Install;
    InstallChoices install;
    StatedChoices stated;
    std::string installedProgram; // the removal roles: the program whose installation goes
    std::string logFile;          // the silent modes: empty for the default log
    std::string refused;          // BadCommandLine: the argument refused
    bool noRestart = false;       // "/NORESTART": asked for; this program never restarts anyway
};

// `arguments` are the program's arguments after its own path (argv[1] on),
// as the C runtime split them. `rawCommandLine`, when given, is the whole
// line they came from: a package manager writes "/D=C:\Program Files\App"
// last and unquoted, which the runtime cuts at its blanks, so an unquoted
// "/D=" after which no quote and no other option ("/...") follows takes the
// rest of the line, blanks included, as the directory.
SetupCommandLine ParseSetupCommandLine(const std::vector<std::string>& arguments,
                                       const std::string& rawCommandLine = std::string());

// What the hand-off appends to the temporary copy's command line
// ("<copy>" /UNINSTALL "<program>") to make its removal silent and logged
// (in its default log when `logFile` is empty).
std::string SilentRemovalSuffix(const std::string& logFile);

} // namespace setupcore
