// The steps of one installation after the copy run, and what they share.
// Each step records every item it makes, in the order made.
#pragma once

#include "install_choices.h"
#include "setup_context.h"

#include <string>

namespace setupcore {
struct RecordItem;
}
class CRegKeyHolder;

struct InstallRun {
    InstallRun(SetupContext& context, const InstallChoices& choices);

    SetupContext& context;
    CSetupDat& dat;
    const InstallChoices& choices;
    std::string installDir;
    std::string programPath;
    std::string iconPath;
    std::string linkName;
    // <Programs folder>\<group name>, as typed; empty when there is no group.
    std::string groupDir;

    void Record(const setupcore::RecordItem& item);
    // A file, or a directory when `path` ends in a backslash.
    void RecordPath(const std::string& path);
};

// The program group's directory and its shortcut to the program.
void MakeProgramGroup(InstallRun& run);
// A shortcut to the program in the shell folder `folder` (a CSIDL value),
// `below` it when given, when the shell has that folder.
void ShortcutInShellFolder(InstallRun& run, int folder, const char* below);
// The uninstall entry under HKEY_CURRENT_USER and the group's uninstall shortcut.
void RegisterUninstaller(InstallRun& run, CRegKeyHolder& key);
// The Run value that starts the program with Windows.
void RegisterAutoStart(InstallRun& run, CRegKeyHolder& key);
