#include "remove_empty_directories.h"

#include "path_helpers.h"
#include "unique_handle.h"

#include <cstring>

void RemoveEmptyDirectories(const std::string& path) {
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA((path + "\\*").c_str(), &found));
    if (!search)
        return;
    do {
        const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (isDirectory && !isLink && std::strcmp(found.cFileName, ".") != 0 &&
            std::strcmp(found.cFileName, "..") != 0)
            RemoveEmptyDirectories(path + "\\" + found.cFileName);
    } while (::FindNextFileA(search.get(), &found));
    search.reset();
    ::RemoveDirectoryA(path.c_str()); // one that still holds anything stays
}
