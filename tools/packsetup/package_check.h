// Everything that makes a package unusable, found before a single byte is
// written: header strings and names the code page cannot hold or the index
// may not (packaged_name_rule.h), names that would meet in the setup
// directory (stored_layout.h), missing sources, files too large for their length word.
#pragma once

#include "package_identity.h"
#include "packsetup/package_plan.h"

#include <string>
#include <vector>

namespace packsetup {

// The plan's header strings and names as the index holds them: in the
// plan's code page.
struct IndexNames {
    std::string appExe;
    std::string header2;
    std::string folderName;
    std::string postInstall;
    std::vector<std::string> obsoleteNames;
    std::vector<std::string> entryNames; // in the order of the plan's entries
    setupcore::PackageIdentity identity; // the publisher in the code page too
};

// True when the package can be built, with its names in the code page;
// otherwise `error` names the first offending item.
bool CheckPackage(const PackagePlan& plan, IndexNames& names, std::string& error);
bool CheckPackage(const PackagePlan& plan, std::string& error);

} // namespace packsetup
