// The two processes of an uninstallation. The installed program, once the
// user has confirmed, hands over to a copy of itself in a directory of its
// own below the temporary directory, since a running program cannot delete
// its own file; the copy removes the installation. Neither tells the user
// anything: each returns what happened.
#pragma once

#include "item_outcome.h"
#include "problem.h"
#include "unique_handle.h"

#include <string>
#include <vector>

class InstallLog;

// The longest directory path and hand-off command line the uninstaller
// accepts; a longer one is refused whole rather than cut, since a cut path
// would start or delete the wrong thing.
constexpr size_t kMaxDirectoryPath = 1023;
constexpr size_t kMaxHandOffCommand = 2047;

// Makes a new directory below the temporary directory, copies
// `installedProgram` and the zlib1.dll beside it there (neither may exist
// already), and starts the copy with "/UNINSTALL" and the installed
// program's path, then `copyArguments`, in the program's directory. Nothing
// is started when any of it fails, and what was made is taken away again.
// The copy is not waited for; when `copyProcess` is given, it receives the
// copy's process to wait on.
Problem HandOffToTemporaryCopy(const std::string& installedProgram,
                               const std::string& copyArguments = std::string(),
                               UniqueKernelHandle* copyProcess = nullptr);

struct RemovalOutcome {
    Problem problem;            // what stopped the removal before it began
    std::vector<ItemLeft> left; // what stays: refused, or neither removed nor scheduled
    // A file of the installation (a recorded item, the record, the program
    // files) is still there at the end, left to the next restart. Folders,
    // a file scheduled but then moved aside or removed after all, and the
    // temporary copy's own files do not count: the restart only tidies those.
    bool restartPending = false;
};

// Run by the copy at `runningCopy`: removes every item of the installed
// program's install record that lies where an installation puts things, the
// record, the program and its zlib1.dll, and the emptied directories. Without
// a readable record it removes nothing. A copy running from a hand-off
// directory schedules itself, its zlib1.dll and the directory for the next
// restart. Each removal goes to `log`, when given.
RemovalOutcome RemoveInstallation(const std::string& installedProgram,
                                  const std::string& runningCopy, InstallLog* log = nullptr);
