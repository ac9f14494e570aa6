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

// How a removal ended: gone now (or never there), left to the next restart,
// or neither.
enum class Removal { Removed, Scheduled, Failed };

// Deletes a file now, or schedules it for the next restart when that fails
// (in use, say). A file that is already gone needs neither.
Removal DeleteFileNowOrAtRestart(const std::string& path);
// The same for a file that another process may still hold for a moment (the
// program that handed over to this one): five tries, 100 ms after each
// failure, before it is left to the restart.
Removal DeleteFileWhenReleased(const std::string& path);
// The same for a directory, which goes now only when it is empty.
Removal RemoveDirectoryNowOrAtRestart(const std::string& path);
