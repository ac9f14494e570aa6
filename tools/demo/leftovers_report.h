// What an uninstallation left behind: the install directory, every item the
// install record listed (program group, shortcuts, registry key and values),
// and the files it scheduled for deletion at the next restart.
#pragma once

#include "installation_report.h"
#include "pending_deletions.h"

#include <vector>

// Lists what an uninstallation or an installation scheduled for deletion at
// the next restart, saying which of those files are gone already.
void ReportScheduledDeletions(const std::vector<PendingOperation>& scheduled);

// Prints the report; true when nothing but the scheduled files is left.
bool ReportLeftovers(const Installation& installation,
                     const std::vector<PendingOperation>& scheduledByUninstall);
