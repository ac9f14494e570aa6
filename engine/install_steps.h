// The steps of one installation after the copy run, and what they share.
// Each step makes its items through their kinds (items/), which record
// every item in the order made and journal what they change.
#pragma once

#include "install_choices.h"
#include "install_transaction.h"
#include "setup_context.h"

#include <string>

struct InstallRun {
    InstallRun(const SetupContext& context, const InstallChoices& choices,
               InstallTransaction& transaction);

    const SetupContext& context;
    const InstallChoices& choices;
    InstallTransaction& transaction;
    std::string installDir;
    std::string programPath;
    std::string iconPath;
    std::string linkName;
    // <Programs folder>\<group name>, canonical; empty when there is no group.
    std::string groupDir;
};

// Each returns the problem that fails the run (an item that cannot be
// recorded); what a step could not make is logged and the run goes on.
// The program group's directory and its shortcut to the program.
Problem MakeProgramGroup(InstallRun& run);
// A shortcut to the program in the shell folder `folder` (a CSIDL value),
// `below` it when given, when the shell has that folder.
Problem ShortcutInShellFolder(InstallRun& run, int folder, const char* below);
// The uninstall entry under HKEY_CURRENT_USER and the group's uninstall shortcut.
Problem RegisterUninstaller(InstallRun& run);
// The Run value that starts the program with Windows.
Problem RegisterAutoStart(InstallRun& run);
