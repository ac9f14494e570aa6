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

std::vector<std::string> FilesMatching(const std::string& directory, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA((directory + "\\" + pattern).c_str(), &found));
    if (search) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (::FindNextFileA(search.get(), &found));
    }
    return names;
}
