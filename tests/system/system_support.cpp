#include "system_support.h"

#include "unique_handle.h"

#include <gtest/gtest.h>

bool CopySetupProgram(const std::string& directory, const std::string& programName) {
    const std::string from = OwnDirectory();
    for (const auto& [source, target] :
         {std::pair<std::string, std::string>{"Setup.exe", programName},
          {"zlib1.dll", "zlib1.dll"}}) {
        if (!::CopyFileA((from + "\\" + source).c_str(), (directory + "\\" + target).c_str(),
                         FALSE)) {
            ADD_FAILURE() << "could not copy " << from << "\\" << source << " to " << directory;
            return false;
        }
    }
    return true;
}

namespace {

std::vector<std::string> EntriesMatching(const std::string& directory, const std::string& pattern,
                                         bool directories) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA((directory + "\\" + pattern).c_str(), &found));
    if (search) {
        do {
            if (((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == directories)
                names.push_back(found.cFileName);
        } while (::FindNextFileA(search.get(), &found));
    }
    return names;
}

} // namespace

std::vector<std::string> FilesMatching(const std::string& directory, const std::string& pattern) {
    return EntriesMatching(directory, pattern, false);
}

std::vector<std::string> DirectoriesMatching(const std::string& directory,
                                             const std::string& pattern) {
    return EntriesMatching(directory, pattern, true);
}
