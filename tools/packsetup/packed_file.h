// Writes one packaged file into the setup directory, reading its source in
// chunks so that memory stays the same whatever the file's size.
#pragma once

#include "packsetup/progress.h"

#include <filesystem>
#include <string>

namespace packsetup {

// Copies the source byte for byte.
bool StorePlain(const std::filesystem::path& source, const std::filesystem::path& target,
                ProgressMeter& progress, std::string& error);

// Writes the int32 little-endian length of the source and then one zlib
// stream of its bytes, the form the installer inflates with `uncompress`:
// zlib's level 9 in chunks, or with `best` the stronger encoder over the
// whole file (best_deflate.h).
bool StoreCompressed(const std::filesystem::path& source, const std::filesystem::path& target,
                     bool best, ProgressMeter& progress, std::string& error);

} // namespace packsetup
