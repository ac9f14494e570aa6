// What lies on the disk, for the demo's report: existence tests and the files
// below a directory with their sizes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);

struct ListedFile {
    std::string relativePath; // below the listed directory, backslashes between the parts
    ULONGLONG size = 0;
    bool directory = false;
};

// Everything below `directory`, depth first, each directory before its content,
// in the order the file system gives.
std::vector<ListedFile> ListFiles(const std::string& directory);
