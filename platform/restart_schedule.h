// Taking paths off the deletions scheduled for the next restart. An
// uninstallation leaves what is in use to the restart; an installation into
// the same place before that restart must not lose its new files to it.
#pragma once

#include <string>
#include <vector>

// Takes every scheduled deletion of one of `paths` off the schedule (the
// registry's PendingFileRenameOperations on the NT family, WININIT.INI's
// Rename section on the older one); other entries stay as they are. Returns
// how many were taken off, or -1 when there were some that could not be.
int CancelRestartDeletions(const std::vector<std::string>& paths);
