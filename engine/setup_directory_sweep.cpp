#include "setup_directory_sweep.h"

#include "ansi_text.h"
#include "path_helpers.h"
#include "kept_folders.h"
#include "path_text.h"
#include "reboot_delete.h"
#include "unique_handle.h"

#include <algorithm>

namespace {

bool IsPackageFile(const std::vector<std::string>& packageFiles, const std::string& name) {
    return std::any_of(packageFiles.begin(), packageFiles.end(), [&](const std::string& file) {
        return setupcore::EqualsIgnoringAsciiCase(file, name);
    });
}

} // namespace

void SweepSetupDirectory(const std::string& setupDirectory,
                         const std::vector<std::string>& packageFiles) {
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(AppendPath(setupDirectory, "*").c_str(), &found));
    if (!search)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!IsPackageFile(packageFiles, found.cFileName))
            continue;
        const std::string path = AppendPath(setupDirectory, found.cFileName);
        if (path.find(".exe") != std::string::npos)
            DeleteOnReboot(path); // the running setup program cannot delete itself
        else
            DeleteFileNowOrAtRestart(path);
    } while (::FindNextFileA(search.get(), &found));
    search.reset();
    if (!IsKeptFolder(setupDirectory))
        DeleteOnReboot(setupDirectory);
}
