#include "installation.h"

#include "ansi_text.h"
#include "install_directory_rule.h"
#include "install_steps.h"
#include "nested_source_sweep.h"
#include "path_helpers.h"
#include "process_start.h"
#include "record_item.h"
#include "reg_key_holder.h"
#include "restart_schedule.h"
#include "setup_directory_sweep.h"

#include <shlobj.h>

#include <new>

namespace {

// The files of the package that the sweep may take from the setup directory.
std::vector<std::string> PackageFiles(const SetupContext& context) {
    std::vector<std::string> files = {"Setup.dat", "License.txt", "URL.txt", "zlib1.dll",
                                      context.SetupFileName()};
    for (const auto& entry : context.theSetupDat.m_files)
        if (!entry->nestedSource) // SweepNestedSources clears those
            files.push_back(ExtractFileName(entry->szName, true));
    return files;
}

void CopyUrlFile(InstallRun& run) {
    const std::string url = AppendPath(run.installDir, "URL.txt");
    // The package need not have one: the item is recorded all the same.
    ::CopyFileA(AppendPath(run.context.SetupDirectory(), "URL.txt").c_str(), url.c_str(), FALSE);
    run.RecordPath(url);
}

// Every path the installation now holds, in canonical form: an uninstallation
// of an earlier one into the same place may have left them to the restart.
std::vector<std::string> HeldPaths(const InstallRun& run) {
    const std::string record = AppendPath(run.installDir, run.context.g_strInfoFileName);
    std::vector<std::string> paths = {
        record,
        AppendPath(run.installDir, setupcore::MadeListFileName(run.context.g_strInfoFileName))};
    for (const auto& stored : run.dat.m_installed) {
        const setupcore::RecordItem item = run.dat.ResolveItem(stored->szText);
        if (!item.path.empty())
            paths.push_back(item.path);
    }
    paths.insert(paths.end(), run.dat.m_createdPaths.begin(), run.dat.m_createdPaths.end());
    return paths;
}

void KeepFromRestartDeletions(const InstallRun& run) {
    const int cancelled = CancelRestartDeletions(HeldPaths(run));
    if (cancelled > 0)
        LogLine(run.context.log, "Taken off the deletions at restart: " +
                                     std::to_string(cancelled) + " of this installation's paths");
    else if (cancelled < 0)
        LogLine(run.context.log, "Could not take this installation's paths off the deletions "
                                 "scheduled for the restart");
}

// The steps after a successful copy run, in the order the record keeps.
void FinishInstallation(InstallRun& run) {
    CRegKeyHolder key; // one holder for every registry step
    CopyUrlFile(run);
    MakeProgramGroup(run);
    if (run.choices.desktopShortcut)
        ShortcutInShellFolder(run, CSIDL_DESKTOP, nullptr);
    if (run.choices.quickLaunchShortcut)
        ShortcutInShellFolder(run, CSIDL_APPDATA, "\\Microsoft\\Internet Explorer\\Quick Launch");
    RegisterUninstaller(run, key);
    if (!run.groupDir.empty())
        run.RecordPath(run.groupDir.back() == '\\' ? run.groupDir : run.groupDir + '\\');
    if (run.choices.autoStart)
        RegisterAutoStart(run, key);

    // Logged, not fatal: the record the copy run wrote still lets the files go again.
    if (const Problem problem = run.dat.WriteInstallRecord(run.context.g_strInfoFileName))
        LogLine(run.context.log, "Could not write the complete install record: " + problem.path);
    KeepFromRestartDeletions(run);
    if (run.choices.launchProgram) // the user sees if it does not start
        LogLine(run.context.log, (StartDetachedProcess(run.programPath, nullptr, run.installDir)
                                      ? "Started: "
                                      : "Could not start: ") +
                                     run.programPath);
    // The folders first: the setup directory's removal at restart follows theirs.
    SweepNestedSources(run.context.SetupDirectory(), run.dat);
    SweepSetupDirectory(run.context.SetupDirectory(), PackageFiles(run.context));
}

} // namespace

namespace {

InstallOutcome CopyAndFinish(SetupContext& context, const InstallChoices& choices,
                             InstallPrompts& prompts, CopyProgress* progress) {
    CSetupDat& dat = context.theSetupDat;
    // From here on the directory is its one canonical form, wherever it came from.
    InstallChoices checked = choices;
    if (Problem problem =
            CheckInstallDirectory(choices.installDir, context.SetupDirectory(), checked.installDir))
        return {InstallStage::DirectoryRefused, problem};
    dat.SetDirectories(context.SetupDirectory(), checked.installDir);
    dat.m_createdPaths.clear();
    dat.m_createdFiles.clear();
    if (!CreateDirectoryTree(checked.installDir, &dat.m_createdPaths))
        return {InstallStage::DirectoryRefused, Problem::Of(ProblemKind::CannotCreateInstallDir,
                                                            checked.installDir, ::GetLastError())};
    if (Problem problem = dat.InstallFiles(context.g_strInfoFileName, prompts, progress)) {
        // Nothing the failed run made may stay unrecorded on the disk.
        dat.UndoCopyRun();
        return {InstallStage::CopyFailed, problem};
    }
    try {
        InstallRun run(context, checked);
        FinishInstallation(run);
    } catch (const std::bad_alloc&) {
        // The files and their record stand, so the uninstaller can take
        // them away again; what the later steps did not make is missing.
        return {InstallStage::Installed, Problem::Of(ProblemKind::NoMemory)};
    }
    return {InstallStage::Installed, Problem()};
}

} // namespace

InstallOutcome Install(SetupContext& context, const InstallChoices& choices,
                       InstallPrompts& prompts, CopyProgress* progress) {
    try {
        return CopyAndFinish(context, choices, prompts, progress);
    } catch (const std::bad_alloc&) {
        context.theSetupDat.UndoCopyRun();
        return {InstallStage::CopyFailed, Problem::Of(ProblemKind::NoMemory)};
    }
}

std::string PostInstallCommand(const std::string& installDir, const std::string& postInstall) {
    if (postInstall.empty())
        return "";
    // Quoted: unquoted, Windows would also try the path's shorter prefixes
    // at each blank (C:\Program.exe first).
    return "\"" + AppendPath(installDir, postInstall) + "\" /I";
}

bool StartPostInstallProgram(const CSetupDat& installation) {
    const std::string command =
        PostInstallCommand(installation.m_szInstallDir, installation.m_szPostInstall);
    return !command.empty() && ::WinExec(command.c_str(), SW_SHOW) > 31;
}
