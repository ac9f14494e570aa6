// Deleting what is in use at the next start of Windows, and the probe that
// tells which of the two Windows families schedules it which way.
#pragma once

#include <windows.h>

#include <string>

// TRUE on the NT family (and should the version query fail); FALSE on the older family.
BOOL IsWindowsNT();

// The WININIT.INI of the Windows directory, where the older family keeps its
// deletions for the next start.
std::string GetWininitPath();

// Schedules a file or an (empty by then) directory for deletion at restart;
// nonzero when it was scheduled.
BOOL DeleteOnReboot(const std::string& path);

// Deletes a file now, or schedules it for the next restart when that fails
// (in use, say). A file that is already gone needs neither. True when it is
// gone now.
bool DeleteFileNowOrAtRestart(const std::string& path);
// The same for a file that another process may still hold for a moment (the
// program that handed over to this one): five tries, 100 ms after each
// failure, before it is left to the restart.
bool DeleteFileWhenReleased(const std::string& path);
// The same for a directory, which goes now only when it is empty.
bool RemoveDirectoryNowOrAtRestart(const std::string& path);
