// The installation's shortcuts: the program group and the links to the
// program in it, on the desktop and in Quick Launch.
#include "install_steps.h"

#include "ansi_text.h"
#include "directory_item.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "shell_link.h"
#include "shortcut_item.h"

InstallRun::InstallRun(const SetupContext& context_, const InstallChoices& choices_,
                       InstallTransaction& transaction_)
    : context(context_), choices(choices_), transaction(transaction_),
      installDir(transaction_.installDir),
      programPath(AppendPath(installDir, context_.package.appExe)),
      iconPath(AppendPath(installDir, "AppIcon.ico")),
      linkName(context_.g_strDisplayName + ".lnk") {}

namespace {

Problem ShortcutToProgram(InstallRun& run, const std::string& directory) {
    return ShortcutItem::Make(run.transaction,
                              {AppendPath(directory, run.linkName), run.programPath, run.installDir,
                               run.iconPath, 0, std::string()});
}

} // namespace

Problem MakeProgramGroup(InstallRun& run) {
    // Without a Programs folder there is no group: a group path relative to
    // the drive's root would scatter shortcuts where no one looks for them.
    if (run.choices.programsFolder.empty())
        return Problem();
    // The group stays below the Programs folder, whatever its name holds.
    const setupcore::CanonicalPath programs = CanonicalPathOf(run.choices.programsFolder);
    const setupcore::CanonicalPath group =
        CanonicalPathOf(run.choices.programsFolder + run.choices.groupName.substr(0, 259));
    if (!programs || !group ||
        !setupcore::IsStrictlyBelow(group.path, programs.path, IsAnsiLeadByte)) {
        LogLine(run.transaction.log, "No program group: \"" + run.choices.groupName +
                                         "\" is no folder below the Programs folder");
        return Problem();
    }
    run.groupDir = group.path;
    if (Problem problem = DirectoryItem::Make(run.transaction, run.groupDir))
        return problem;
    return ShortcutToProgram(run, run.groupDir);
}

Problem ShortcutInShellFolder(InstallRun& run, int folder, const char* below) {
    std::string directory;
    if (!GetSpecialFolderPath(directory, folder))
        return Problem(); // this shortcut is optional: the shell has no such folder
    if (below)
        directory = AppendPath(directory, below);
    return ShortcutToProgram(run, directory);
}
