// The sweep that follows an uninstallation.
#pragma once

#include <string>

// Removes every directory of the tree below `path` (and `path` itself) that
// holds no file anywhere below it, deepest first. Never deletes a file, and
// never enters a directory link: what it points at is not ours to sweep.
void RemoveEmptyDirectories(const std::string& path);
