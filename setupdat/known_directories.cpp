#include "known_directories.h"

#include "path_helpers.h"

bool KnownDirectories::Ensure(const std::string& directory, std::vector<std::string>& created) {
    return CreateDirectoryTree(directory, &created, &known_);
}
