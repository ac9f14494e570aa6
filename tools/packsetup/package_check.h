// Everything that makes a package unusable, found before a single byte is
// written: bad header strings and names, names that would meet in the flat
// setup directory, missing sources, files too large for their length word.
#pragma once

#include "packsetup/package_plan.h"

#include <string>

namespace packsetup {

// The text after the last backslash: where a packaged file lies in the
// setup directory.
std::string StoredFileName(const std::string& packagedName);

// True when the package can be built; otherwise `error` names the first
// offending item.
bool CheckPackage(const PackagePlan& plan, std::string& error);

} // namespace packsetup
