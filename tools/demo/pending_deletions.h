// The files the system deletes (or renames) at its next restart, as
// MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT lists them in the registry.
#pragma once

#include <string>
#include <vector>

struct PendingOperation {
    std::string path;     // without the "\??\" the list keeps
    std::string renameTo; // empty: the file is deleted
};

std::vector<PendingOperation> PendingRestartOperations();

// The operations of `after` that `before` did not hold.
std::vector<PendingOperation> AddedOperations(const std::vector<PendingOperation>& before,
                                              const std::vector<PendingOperation>& after);
