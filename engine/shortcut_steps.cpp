// The installation's shortcuts: the program group and the links to the
// program in it, on the desktop and in Quick Launch.
#include "install_steps.h"

#include "ansi_text.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "record_item.h"
#include "shell_link.h"

InstallRun::InstallRun(SetupContext& context_, const InstallChoices& choices_)
    : context(context_), dat(context_.theSetupDat), choices(choices_),
      installDir(dat.m_szInstallDir), programPath(AppendPath(installDir, dat.m_szAppExe)),
      iconPath(AppendPath(installDir, "AppIcon.ico")),
      linkName(context_.g_strDisplayName + ".lnk") {}

void InstallRun::Record(const setupcore::RecordItem& item) {
    // An item too long for the record, or one there is no memory for, is
    // left out: the installation itself is complete without it.
    dat.AddInstalledItem(item);
    LogLine(context.log, MadeLine(item));
}

void InstallRun::RecordPath(const std::string& path) {
    Record(setupcore::RecordItem::ForPath(path, IsAnsiLeadByte));
}

namespace {

void ShortcutToProgram(InstallRun& run, const std::string& directory) {
    const std::string link = AppendPath(directory, run.linkName);
    // Recorded whether or not it could be made: a link that is not there
    // costs the uninstaller nothing.
    CreateShortcut(run.programPath, link, run.installDir.c_str(), run.iconPath.c_str(), 0, nullptr);
    run.RecordPath(link);
}

} // namespace

void MakeProgramGroup(InstallRun& run) {
    // Without a Programs folder there is no group: a group path relative to
    // the drive's root would scatter shortcuts where no one looks for them.
    if (run.choices.programsFolder.empty())
        return;
    // The group stays below the Programs folder, whatever its name holds.
    const setupcore::CanonicalPath programs = CanonicalPathOf(run.choices.programsFolder);
    const setupcore::CanonicalPath group =
        CanonicalPathOf(run.choices.programsFolder + run.choices.groupName.substr(0, 259));
    if (!programs || !group ||
        !setupcore::IsStrictlyBelow(group.path, programs.path, IsAnsiLeadByte)) {
        LogLine(run.context.log, "No program group: \"" + run.choices.groupName +
                                     "\" is no folder below the Programs folder");
        return;
    }
    run.groupDir = group.path;
    // A group that cannot be made leaves its shortcuts unmade; the program
    // is installed all the same. The folders it makes go with it.
    CreateDirectoryTree(run.groupDir, &run.dat.m_createdPaths);
    run.RecordPath(run.groupDir);
    ShortcutToProgram(run, run.groupDir);
}

void ShortcutInShellFolder(InstallRun& run, int folder, const char* below) {
    try {
        std::string directory;
        GetSpecialFolderPath(directory, folder);
        if (directory.empty())
            return;
        if (below)
            directory = AppendPath(directory, below);
        ShortcutToProgram(run, directory);
    } catch (...) { // this shortcut is optional: skip it and go on
    }
}
