// The folders an installation made, taken away by its uninstallation once
// they are empty: never one that stood before the installation, never a link.
#pragma once

#include "item_outcome.h"

#include <string>
#include <vector>

class InstallLog;
class RemovalScope;

// For an installation made before its folders were listed: the install
// directory and each folder between it and a recorded path below it
// (`paths` canonical), the closest stand-in for what it made.
std::vector<std::string> FoldersOnTheWay(const std::string& installDir,
                                         const std::vector<std::string>& paths);

// Removes each of `folders` (canonical) that `scope` allows, deepest first:
// at once when empty, else (`atRestartToo`) at the next restart, when it goes
// only if it is empty by then. A folder the scope refuses stays and goes to `left`.
void RemoveMadeFolders(std::vector<std::string> folders, const RemovalScope& scope,
                       std::vector<ItemLeft>& left, InstallLog* log, bool atRestartToo = true);
