// The two processes of an uninstallation. The installed program, once the
// user has confirmed, hands over to a temporary copy of itself, since a
// running program cannot delete its own file; the copy removes the
// installation. Neither tells the user anything: each returns what stopped it.
#pragma once

#include "problem.h"

#include <string>

// The longest directory path and hand-off command line the uninstaller
// accepts; a longer one is refused whole rather than cut, since a cut path
// would start or delete the wrong thing.
constexpr size_t kMaxDirectoryPath = 1023;
constexpr size_t kMaxHandOffCommand = 2047;

// Copies `installedProgram` and the zlib1.dll beside it into the temporary
// directory and starts the copy with "/UNINSTALL" and the installed program's
// path, in the program's directory; it is not waited for.
Problem HandOffToTemporaryCopy(const std::string& installedProgram);

// Run by the temporary copy at `runningCopy`: removes every item of the
// installed program's install record, the record, the program and its
// zlib1.dll, the emptied directories, and schedules the copy's own files for
// the next restart.
Problem RemoveInstallation(const std::string& installedProgram, const std::string& runningCopy);
