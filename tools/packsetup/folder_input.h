// A folder as package input: every regular file below it becomes an entry.
#pragma once

#include "packsetup/package_plan.h"

#include <filesystem>
#include <string>
#include <vector>

namespace packsetup {

// Collects the regular files below `folder` (following links to files, not
// to folders), named by their path relative to it with backslashes between
// the parts, and sorted by that name so that the same tree always gives the
// same index.
bool CollectFolder(const std::filesystem::path& folder, std::vector<PackageEntry>& entries,
                   std::string& error);

} // namespace packsetup
