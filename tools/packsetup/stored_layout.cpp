#include "packsetup/stored_layout.h"

#include "packsetup/name_case.h"
#include "path_text.h"

#include <unordered_map>

namespace packsetup {

std::string StoredFileName(const std::string& packagedName) {
    return setupcore::FileNamePart(packagedName, true, setupcore::NoLeadBytes);
}

std::vector<std::string> StoredNames(const std::vector<PackageEntry>& entries) {
    // Windows holds names differing only in letter case as one file.
    std::unordered_map<std::string, size_t> sharing;
    for (const PackageEntry& entry : entries)
        ++sharing[FoldCase(StoredFileName(entry.name))];
    std::vector<std::string> stored;
    stored.reserve(entries.size());
    for (const PackageEntry& entry : entries) {
        const std::string fileName = StoredFileName(entry.name);
        stored.push_back(sharing[FoldCase(fileName)] > 1 ? entry.name : fileName);
    }
    return stored;
}

bool IsNested(const std::string& storedName) {
    return storedName.find('\\') != std::string::npos;
}

std::filesystem::path StoredFilePath(const std::filesystem::path& outDir,
                                     const std::string& storedName) {
    std::filesystem::path path = outDir;
    size_t start = 0;
    for (size_t end; (end = storedName.find('\\', start)) != std::string::npos; start = end + 1)
        path /= std::filesystem::u8path(storedName.substr(start, end - start));
    return path / std::filesystem::u8path(storedName.substr(start));
}

} // namespace packsetup
