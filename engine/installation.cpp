#include "installation.h"

#include "ansi_text.h"
#include "install_steps.h"
#include "nested_source_sweep.h"
#include "path_helpers.h"
#include "process_start.h"
#include "record_item.h"
#include "reg_key_holder.h"
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

    // Ignored: the record the copy run wrote still lets the files go again.
    run.dat.WriteInstallRecord(run.context.g_strInfoFileName);
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
    dat.SetDirectories(context.SetupDirectory(), choices.installDir);
    dat.m_createdPaths.clear();
    if (!CreateDirectoryTree(choices.installDir, &dat.m_createdPaths))
        return {InstallStage::DirectoryRefused, Problem::Of(ProblemKind::CannotCreateInstallDir,
                                                            choices.installDir, ::GetLastError())};
    if (Problem problem = dat.InstallFiles(context.g_strInfoFileName, prompts, progress)) {
        // Nothing the failed run made may stay unrecorded on the disk.
        dat.UndoCopyRun();
        return {InstallStage::CopyFailed, problem};
    }
    try {
        InstallRun run(context, choices);
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
