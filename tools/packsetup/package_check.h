// Everything that makes a package unusable, found before a single byte is
// written: header strings and names the code page cannot hold or the index
// may not (packaged_name_rule.h), names that would meet in the flat setup
// directory, missing sources, files too large for their length word.
#pragma once

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
};

// The text after the last backslash of a packaged name in UTF-8 (where no
// byte of a longer character is a backslash).
std::string StoredFileName(const std::string& packagedName);

// Where a packaged file lies in the setup directory. The file system names
// it in Unicode, which is what the installer's ANSI name means on a machine
// of the package's code page: Windows converts, and so does Wine, to the
// UTF-8 names of a Unix file system.
std::filesystem::path StoredFilePath(const std::filesystem::path& outDir,
                                     const std::string& packagedName);

// True when the package can be built, with its names in the code page;
// otherwise `error` names the first offending item.
bool CheckPackage(const PackagePlan& plan, IndexNames& names, std::string& error);
bool CheckPackage(const PackagePlan& plan, std::string& error);

} // namespace packsetup
