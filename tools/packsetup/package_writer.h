// Builds a setup directory from a package description: the packaged files
// where stored_layout.h puts them, the fixed-name files beside them, and
// the Setup.dat index, written last so that an index is only ever present
// beside a complete set of files.
#pragma once

#include "packsetup/package_plan.h"
#include "packsetup/progress.h"

#include <string>

namespace packsetup {

// True on success. Otherwise `error` says why; a package refused by its
// checks leaves the output directory untouched, and one that fails while
// writing has the files of this run removed again.
bool BuildPackage(const PackagePlan& plan, std::string& error,
                  const ProgressSettings& progress = {});

} // namespace packsetup
