#include "made_folders.h"

#include "ansi_text.h"
#include "install_log.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "reboot_delete.h"
#include "removal_scope.h"

#include <algorithm>

std::vector<std::string> FoldersOnTheWay(const std::string& installDir,
                                         const std::vector<std::string>& paths) {
    std::vector<std::string> folders = {installDir};
    const size_t depth = setupcore::PathComponents(installDir, IsAnsiLeadByte).size();
    for (const std::string& path : paths) {
        if (!setupcore::IsStrictlyBelow(path, installDir, IsAnsiLeadByte))
            continue;
        std::vector<std::string> parts = setupcore::PathComponents(path, IsAnsiLeadByte);
        std::string folder = installDir;
        for (size_t i = depth; i + 1 < parts.size(); ++i) {
            folder = AppendPath(folder, parts[i]);
            if (std::find(folders.begin(), folders.end(), folder) == folders.end())
                folders.push_back(folder);
        }
    }
    return folders;
}

namespace {

size_t Depth(const std::string& folder) {
    return setupcore::PathComponents(folder, IsAnsiLeadByte).size();
}

Removal RemoveFolder(const std::string& folder, bool atRestartToo) {
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Removal::Removed;
    // Made by someone else since: a link, or a file under the folder's name.
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return Removal::Failed;
    if (atRestartToo)
        return RemoveDirectoryNowOrAtRestart(folder);
    return ::RemoveDirectoryA(folder.c_str()) ? Removal::Removed : Removal::Failed;
}

} // namespace

void RemoveMadeFolders(std::vector<std::string> folders, const RemovalScope& scope,
                       std::vector<ItemLeft>& left, InstallLog* log, bool atRestartToo) {
    std::stable_sort(
        folders.begin(), folders.end(),
        [](const std::string& a, const std::string& b) { return Depth(a) > Depth(b); });
    for (const std::string& folder : folders) {
        if (!scope.AllowsMadeFolder(folder)) {
            left.push_back({folder + "\\", ItemOutcome::Refused});
            LogLine(log, "Left alone (not made by this installation): " + folder);
            continue;
        }
        switch (RemoveFolder(folder, atRestartToo)) {
        case Removal::Removed:
            LogLine(log, "Removed the folder " + folder);
            break;
        case Removal::Scheduled:
            LogLine(log, "Left the folder to the restart (it goes then if empty): " + folder);
            break;
        case Removal::Failed:
            LogLine(log, "Kept the folder (it still holds something, or is no folder of ours): " +
                             folder);
            break;
        }
    }
}
