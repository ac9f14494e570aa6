#include "file_listing.h"

#include "unique_handle.h"

namespace {

bool IsDotEntry(const WIN32_FIND_DATAA& entry) {
    return std::string(entry.cFileName) == "." || std::string(entry.cFileName) == "..";
}

void ListInto(const std::string& root, const std::string& relative, std::vector<ListedFile>& out) {
    const std::string directory = relative.empty() ? root : root + "\\" + relative;
    WIN32_FIND_DATAA entry;
    UniqueFind search(::FindFirstFileA((directory + "\\*").c_str(), &entry));
    if (!search)
        return;
    do {
        if (IsDotEntry(entry))
            continue;
        ListedFile file;
        file.relativePath = relative.empty() ? entry.cFileName : relative + "\\" + entry.cFileName;
        file.directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        file.size = (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        out.push_back(file);
        if (file.directory)
            ListInto(root, file.relativePath, out);
    } while (::FindNextFileA(search.get(), &entry));
}

} // namespace

bool PathExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<ListedFile> ListFiles(const std::string& directory) {
    std::vector<ListedFile> files;
    ListInto(directory, "", files);
    return files;
}
