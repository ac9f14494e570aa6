#include "known_directories.h"

#include "ansi_text.h"
#include "current_directory.h"
#include "path_text.h"

bool KnownDirectories::Ensure(const std::string& directory, std::vector<std::string>& created) {
    if (known_.count(directory))
        return true;
    std::vector<std::string> prefixes;
    if (!setupcore::DirectoryTreePrefixes(directory, prefixes, IsAnsiLeadByte))
        return false;
    CurrentDirectoryKeeper keeper;
    for (const std::string& prefix : prefixes) {
        if (known_.count(prefix))
            continue;
        if (!EnterDirectory(prefix)) {
            if (!::CreateDirectoryA(prefix.c_str(), nullptr))
                return false;
            created.push_back(prefix);
        }
        known_.insert(prefix);
    }
    return true;
}
