#include "installation.h"

#include "ansi_text.h"
#include "extract.h"
#include "file_item.h"
#include "directory_item.h"
#include "earlier_version_removal.h"
#include "install_directory_rule.h"
#include "install_steps.h"
#include "item_type.h"
#include "nested_source_sweep.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "process_start.h"
#include "restart_schedule.h"
#include "run_lock.h"
#include "setup_directory_sweep.h"

#include <shlobj.h>

#include <new>

namespace {

// The files of the package that the sweep may take from the setup directory.
std::vector<std::string> PackageFiles(const SetupContext& context,
                                      const InstallTransaction& transaction) {
    std::vector<std::string> files = {"Setup.dat", "License.txt", "URL.txt", "zlib1.dll",
                                      context.SetupFileName()};
    for (size_t i = 0; i < transaction.sources.size(); ++i)
        if (!transaction.sources[i].nested) // SweepNestedSources clears those
            files.push_back(ExtractFileName(context.package.entries[i].name, true));
    return files;
}

// Every path the installation now holds, in canonical form: an uninstallation
// of an earlier one into the same place may have left them to the restart.
std::vector<std::string> HeldPaths(const InstallRun& run) {
    const std::string& record = run.context.g_strInfoFileName;
    std::vector<std::string> paths = {
        AppendPath(run.installDir, record),
        AppendPath(run.installDir, setupcore::MadeListFileName(record))};
    for (const setupcore::RecordItem& item : run.transaction.RecordSoFar().items) {
        const setupcore::RecordItem resolved = ResolveItem(item, run.installDir);
        if (resolved.kind != setupcore::ItemKind::Empty && !resolved.path.empty())
            paths.push_back(resolved.path);
    }
    paths.insert(paths.end(), run.transaction.createdPaths.begin(),
                 run.transaction.createdPaths.end());
    return paths;
}

void KeepFromRestartDeletions(const InstallRun& run) {
    const int cancelled = CancelRestartDeletions(HeldPaths(run));
    if (cancelled > 0)
        LogLine(run.transaction.log,
                "Taken off the deletions at restart: " + std::to_string(cancelled) +
                    " of this installation's paths");
    else if (cancelled < 0)
        LogLine(run.transaction.log, "Could not take this installation's paths off the "
                                     "deletions scheduled for the restart");
}

// The steps after a successful copy run, in the order the record keeps; the
// problem that fails the run.
Problem MakeTheRest(InstallRun& run) {
    const std::string url = AppendPath(run.installDir, "URL.txt");
    if (Problem problem = FileItem::MakeCopy(
            run.transaction, AppendPath(run.context.SetupDirectory(), "URL.txt"), url))
        return problem;
    if (Problem problem = MakeProgramGroup(run))
        return problem;
    if (run.choices.desktopShortcut)
        if (Problem problem = ShortcutInShellFolder(run, CSIDL_DESKTOP, nullptr))
            return problem;
    if (run.choices.quickLaunchShortcut)
        if (Problem problem = ShortcutInShellFolder(run, CSIDL_APPDATA,
                                                    "\\Microsoft\\Internet Explorer\\Quick Launch"))
            return problem;
    if (Problem problem = RegisterUninstaller(run))
        return problem;
    if (!run.groupDir.empty())
        if (Problem problem = DirectoryItem::RecordAsDirectory(run.transaction, run.groupDir))
            return problem;
    if (run.choices.autoStart)
        if (Problem problem = RegisterAutoStart(run))
            return problem;
    // Logged, not fatal: the record the copy run wrote still lets the files go again.
    if (const Problem problem = run.transaction.WriteRecord(run.context.g_strInfoFileName))
        LogLine(run.transaction.log,
                "Could not write the complete install record: " + problem.path);
    return Problem();
}

// Once the installation stands: the old files go, the restart may not take a
// new one, the program starts if asked, and the package leaves the setup directory.
void AfterCommit(InstallRun& run) {
    run.transaction.replaced.DiscardOldFiles();
    KeepFromRestartDeletions(run);
    if (run.choices.launchProgram) // the user sees if it does not start
        LogLine(run.transaction.log, (StartDetachedProcess(run.programPath, nullptr, run.installDir)
                                          ? "Started: "
                                          : "Could not start: ") +
                                         run.programPath);
    ClearPackagedCopies(run.transaction);
    // The folders first: the setup directory's removal at restart follows theirs.
    SweepNestedSources(run.context.SetupDirectory(), run.context.package, run.transaction.sources);
    SweepSetupDirectory(run.context.SetupDirectory(), PackageFiles(run.context, run.transaction));
    run.transaction.Finish();
}

InstallOutcome Run(SetupContext& context, const InstallChoices& choices, InstallPrompts& prompts,
                   CopyProgress* progress) {
    // One run of the product at a time: a second one ends at once and says so.
    ProductRunLock lock;
    if (!lock.Take(context.g_strDisplayName, 0))
        return {InstallStage::AnotherRun,
                Problem::Of(ProblemKind::AnotherRunActive, context.g_strDisplayName)};
    // From here on the directory is its one canonical form, wherever it came from.
    InstallChoices checked = choices;
    if (Problem problem =
            CheckInstallDirectory(choices.installDir, context.SetupDirectory(), checked.installDir))
        return {InstallStage::DirectoryRefused, problem};
    InstallTransaction transaction(context.package, context.SetupDirectory(), checked.installDir,
                                   context.log);
    // Kept from before the first change, so that a run that dies at any
    // moment is put right by the next one.
    if (Problem problem = transaction.KeepJournal(context.g_strDisplayName))
        return {InstallStage::CopyFailed, problem};
    if (Problem problem = transaction.AnnounceDirectoryTree(checked.installDir))
        return {InstallStage::CopyFailed, problem};
    const bool made = CreateDirectoryTree(checked.installDir, &transaction.createdPaths);
    for (const std::string& directory : transaction.createdPaths)
        LogLine(context.log, "Directory made: " + directory);
    if (!made)
        return {InstallStage::DirectoryRefused, Problem::Of(ProblemKind::CannotCreateInstallDir,
                                                            checked.installDir, ::GetLastError())};
    const bool sameDirectory =
        context.installed &&
        setupcore::IsSamePath(context.installed->installDir, checked.installDir, IsAnsiLeadByte);
    if (sameDirectory && context.installed->madeList)
        transaction.inherited = *context.installed->madeList;
    transaction.perUser = checked.perUser;
    if (context.installed)
        LogLine(context.log, "Updating the installation in " + context.installed->installDir +
                                 (context.installed->displayVersion.empty()
                                      ? std::string()
                                      : " (version " + context.installed->displayVersion + ")"));
    // Whatever stops the run from here on undoes it: the transaction's end
    // takes back what it did not commit.
    if (Problem problem = InstallFiles(transaction, context.g_strInfoFileName, prompts, progress))
        return {InstallStage::CopyFailed, problem};
    InstallRun run(context, checked, transaction);
    if (Problem problem = MakeTheRest(run))
        return {InstallStage::CopyFailed, problem};
    if (context.installed)
        if (Problem problem = AnnounceWhatTheUpdateLeaves(*context.installed, transaction,
                                                          context.g_strInfoFileName))
            return {InstallStage::CopyFailed, problem};
    if (Problem problem = transaction.Commit())
        return {InstallStage::CopyFailed, problem};
    context.installDir = checked.installDir;
    if (context.installed)
        RemoveWhatTheUpdateLeft(*context.installed, transaction, context.g_strInfoFileName);
    AfterCommit(run);
    return {InstallStage::Installed, Problem()};
}

} // namespace

InstallOutcome Install(SetupContext& context, const InstallChoices& choices,
                       InstallPrompts& prompts, CopyProgress* progress) {
    try {
        return Run(context, choices, prompts, progress);
    } catch (const std::bad_alloc&) {
        // The transaction was undone on the way out.
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

bool StartPostInstallProgram(const SetupContext& context) {
    const std::string command = PostInstallCommand(context.installDir, context.package.postInstall);
    return !command.empty() && ::WinExec(command.c_str(), SW_SHOW) > 31;
}
