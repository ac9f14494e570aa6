// The next run's half of the journal (install_transaction.h): before a run
// of a product does anything else, it looks for a journal that a run of the
// same product left behind, and puts the machine right. An installation or
// update that did not commit is undone: every old file back under its name,
// every new file, successor, folder and registry change taken away. One that
// committed is finished: the old files it set aside, and what the earlier
// version left, go. An uninstallation is finished.
#pragma once

#include <string>

class InstallLog;

enum class RecoveryFound {
    Nothing,             // no run of the product died midway
    InstallUndone,       // an installation or update that had not committed, undone
    InstallFinished,     // one that had committed, finished
    UninstallFinished,   // an uninstallation, finished
    UninstallLeftToThis, // an uninstallation of the program this run removes: its work
    Unreadable,          // a journal that could not be read; it is left for a person to see
};

struct Recovery {
    RecoveryFound found = RecoveryFound::Nothing;
    std::string place; // the install directory, or the installed program, it concerned
};

// With the product's run lock held, so that a live run's journal is never
// taken for a dead one. `runningProgram` is this process's own program,
// `removingProgram` the installed program this run itself removes, if any.
Recovery RecoverInterruptedRun(const std::string& product, const std::string& runningProgram,
                               const std::string& removingProgram, InstallLog* log);

// The product whose journal concerns the installation in `installDirectory`
// (canonical): an installation into it, or the removal of its program; empty
// when there is none. A record cut short by a run that died may not name
// its product, so the uninstaller asks the journals.
std::string JournalledProductIn(const std::string& installDirectory);

// Takes the product's lock for the recovery alone, waiting for nothing:
// when another run holds it, that run is alive and nothing is recovered.
Recovery RecoverBeforeStarting(const std::string& product, const std::string& runningProgram,
                               InstallLog* log);
