#include "nested_source_sweep.h"

#include "ansi_text.h"
#include "packaged_source.h"
#include "path_helpers.h"
#include "path_text.h"
#include "reboot_delete.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

// The folders of a packaged name, relative to the setup directory.
std::vector<std::string> FoldersOf(const std::string& packagedName) {
    std::vector<std::string> folders;
    std::string folder;
    for (std::string path = packagedName;
         setupcore::DirectoryBeforeLastBackslash(path, folder, IsAnsiLeadByte); path = folder)
        folders.push_back(folder);
    return folders;
}

class NestedSweep {
public:
    explicit NestedSweep(const std::string& setupDirectory) : setupDirectory_(setupDirectory) {}

    void RemoveFile(const std::string& packagedName) {
        const std::string path = AppendPath(setupDirectory_, packagedName);
        if (!NestedSourceStillBelow(setupDirectory_, path))
            return;
        const std::vector<std::string> folders = FoldersOf(packagedName);
        folders_.insert(folders.begin(), folders.end());
        if (DeleteFileNowOrAtRestart(path) == Removal::Scheduled)
            held_.insert(folders.begin(), folders.end());
    }

    // Deepest first: a folder's text is longer than its parent's.
    void RemoveFolders() const {
        std::vector<std::string> folders(folders_.begin(), folders_.end());
        std::stable_sort(
            folders.begin(), folders.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
        for (const std::string& folder : folders) {
            const std::string path = AppendPath(setupDirectory_, folder);
            if (!NestedSourceStillBelow(setupDirectory_, path) || !IsExistingDirectory(path))
                continue;
            // Only an empty folder goes; one holding anything else stays.
            if (!::RemoveDirectoryA(path.c_str()) && held_.count(folder))
                DeleteOnReboot(path);
        }
    }

private:
    const std::string& setupDirectory_;
    std::set<std::string> folders_; // on the way to a nested file
    std::set<std::string> held_;    // holding a file left to the restart
};

} // namespace

void SweepNestedSources(const std::string& setupDirectory, const Package& package,
                        const std::vector<PackagedSource>& sources) {
    NestedSweep sweep(setupDirectory);
    for (size_t i = 0; i < sources.size() && i < package.entries.size(); ++i)
        if (sources[i].nested)
            sweep.RemoveFile(package.entries[i].name);
    sweep.RemoveFolders();
}
