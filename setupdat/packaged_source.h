// Where a packaged file lies in the setup directory. The package builder
// stores a file flat, under the file-name part of its packaged name, unless
// another packaged file shares that part; then it stores both under their
// whole packaged names, in folders below the setup directory. Every package
// made before holds only flat files, so the whole name's place is looked at
// first and the flat one is the fallback.
#pragma once

#include "package_reader.h"

#include <string>

// The file that packaged file `packagedName` is read from: the whole name's
// place below `setupDirectory` when a file lies there and is confined below
// it as an installed file is below the install directory (the name passes
// packaged_name_rule.h, no directory link stands on the way); else the
// file-name part's place.
PackagedSource LocatePackagedSource(const std::string& setupDirectory,
                                    const std::string& packagedName, bool compressed);

// Whether `path` still lies below `setupDirectory` with no directory link on
// the way: asked again before a nested source is deleted, since the folders
// may have changed since it was read.
bool NestedSourceStillBelow(const std::string& setupDirectory, const std::string& path);
