#include "install_directory_rule.h"

#include "ansi_text.h"
#include "kept_folders.h"
#include "path_helpers.h"
#include "path_scope.h"

Problem CheckInstallDirectory(const std::string& typed, const std::string& setupDirectory,
                              std::string& canonical) {
    if (Problem tooLong = CheckInstallDirectoryLength(typed))
        return tooLong;
    const Problem refused = Problem::Of(ProblemKind::CannotCreateInstallDir, typed);
    const setupcore::CanonicalPath directory = CanonicalPathOf(typed);
    if (!directory || IsKeptFolder(directory.path))
        return refused;
    const setupcore::CanonicalPath setup = CanonicalPathOf(setupDirectory);
    if (setup && setupcore::IsSamePath(directory.path, setup.path, IsAnsiLeadByte))
        return refused;
    canonical = directory.path;
    return Problem();
}

Problem CheckInstallDirectoryLength(const std::string& typed) {
    return typed.size() > kMaxInstallDir ? Problem::Of(ProblemKind::InstallDirTooLong, typed)
                                         : Problem();
}
