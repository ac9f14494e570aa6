// The two processes of an uninstallation. The installed program, once the
// user has confirmed, hands over to a temporary copy of itself, since a
// running program cannot delete its own file; the copy removes the
// installation. Neither tells the user anything: each returns what stopped it.
#pragma once

#include "problem.h"
#include "unique_handle.h"

#include <string>

class InstallLog;

// The longest directory path and hand-off command line the uninstaller
// accepts; a longer one is refused whole rather than cut, since a cut path
// would start or delete the wrong thing.
constexpr size_t kMaxDirectoryPath = 1023;
constexpr size_t kMaxHandOffCommand = 2047;

// Copies `installedProgram` and the zlib1.dll beside it into the temporary
// directory and starts the copy with "/UNINSTALL" and the installed program's
// path, then `copyArguments`, in the program's directory. It is not waited
// for; when `copyProcess` is given, it receives the copy's process to wait on.
Problem HandOffToTemporaryCopy(const std::string& installedProgram,
                               const std::string& copyArguments = std::string(),
                               UniqueKernelHandle* copyProcess = nullptr);

// Run by the temporary copy at `runningCopy`: removes every item of the
// installed program's install record, the record, the program and its
// zlib1.dll, the emptied directories, and schedules the copy's own files for
// the next restart. Each removal goes to `log`, when given.
Problem RemoveInstallation(const std::string& installedProgram, const std::string& runningCopy,
                           InstallLog* log = nullptr);
