// The second half of an update: once the new version is whole (committed),
// what the earlier installation made that the new one did not make again
// goes, so that the machine holds one installation, as if the new version
// had been installed fresh with the same choices.
#pragma once

#include "install_transaction.h"
#include "installed_version.h"

#include <string>

// Before the update commits: journals what RemoveWhatTheUpdateLeft will
// remove, so that a run that dies once committed is finished by the next.
Problem AnnounceWhatTheUpdateLeaves(const InstalledVersion& earlier, InstallTransaction& run,
                                    const std::string& recordFileName);

// Removes every item of `earlier`'s record that `run` did not record again,
// each by its own kind and within the removal scope of the earlier install
// directory; an item that could not go stays on the new record. When the new
// version went into another directory, the earlier record, its made list and
// the folders it made go too; in the same directory, the earlier folders the
// new version does not need go once empty. The new record and made list are
// written again as the installation now stands.
void RemoveWhatTheUpdateLeft(const InstalledVersion& earlier, InstallTransaction& run,
                             const std::string& recordFileName);

// For the next run after one that died while removing them: the earlier
// version's leftovers that `journal` announced, removed as the update would
// have removed them.
void FinishEarlierRemoval(const setupcore::RunJournal& journal, InstallLog* log);
