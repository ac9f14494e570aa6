// Where each packaged file lies in the setup directory. A file whose
// file-name part no other packaged file shares (in any letter case) lies flat
// under that part, as in every package made before; the others lie under
// their whole packaged name, in folders below the setup directory, where the
// installer looks first. A tree without repeated names is thus stored
// exactly as it always was.
#pragma once

#include "packsetup/package_plan.h"

#include <filesystem>
#include <string>
#include <vector>

namespace packsetup {

// The text after the last backslash of a packaged name in UTF-8 (where no
// byte of a longer character is a backslash).
std::string StoredFileName(const std::string& packagedName);

// For each entry, in order, where it lies relative to the setup directory,
// with backslashes between the parts: its file-name part, or its whole name.
std::vector<std::string> StoredNames(const std::vector<PackageEntry>& entries);

// Whether a stored name lies in a folder below the setup directory.
bool IsNested(const std::string& storedName);

// The file a stored name gives below `outDir`. The file system names it in
// Unicode, which is what the installer's ANSI name means on a machine of the
// package's code page: Windows converts, and so does Wine, to the UTF-8
// names of a Unix file system.
std::filesystem::path StoredFilePath(const std::filesystem::path& outDir,
                                     const std::string& storedName);

} // namespace packsetup
