// Clearing the package out of the directory the setup program was started
// from, once it is installed.
#pragma once

#include <string>
#include <vector>

// Deletes (or schedules for restart) the files of the package in
// `setupDirectory`: those named in `packageFiles` that are there. Any other
// file is the user's own and stays: people start a downloaded setup program
// from their Downloads folder or desktop. A path containing ".exe" is only
// scheduled, since the running setup program cannot delete itself. The
// directory is scheduled too (at restart it goes only if empty by then),
// unless it is a folder the shell or Windows keeps, or a root.
void SweepSetupDirectory(const std::string& setupDirectory,
                         const std::vector<std::string>& packageFiles);
