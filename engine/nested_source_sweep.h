// Clearing the packaged files that lay in folders below the setup directory
// (packaged_source.h), and the folders they leave empty, once the package is
// installed. The flat files and the setup directory itself are the sweep's
// of setup_directory_sweep.h.
#pragma once

#include "package.h"
#include "package_reader.h"

#include <string>
#include <vector>

// Deletes (or schedules for restart) each file of `package` that the copy run
// read from below `setupDirectory` (`sources` says which), then removes each folder on the way to
// one that is empty now, deepest first; one that still holds a file scheduled for restart is
// scheduled too, to go after it. Nothing behind a directory link is touched, nor any other file or
// folder: what else lies there is the user's.
void SweepNestedSources(const std::string& setupDirectory, const Package& package,
                        const std::vector<PackagedSource>& sources);
