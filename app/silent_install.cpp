#include "silent_install.h"

#include "copy_progress_dlg.h"
#include "exit_codes.h"
#include "install_choices.h"
#include "install_defaults.h"
#include "installed_version.h"
#include "install_log.h"
#include "install_prompts.h"
#include "installation.h"
#include "logged_copy_progress.h"
#include "path_helpers.h"
#include "problem_message.h"
#include "resource.h"
#include "setup_command_line.h"
#include "setup_context.h"
#include "setup_pg_dir.h"
#include "string_table.h"
#include "user_interface.h"

namespace {

// Nobody can close the program that holds a target: the run stops at once
// and is undone.
class SilentPrompts : public InstallPrompts {
public:
    explicit SilentPrompts(InstallLog& log) : log_(log) {}
    bool RetryFileInUse(const std::string& target, bool) override {
        log_.Line("File in use by another program, not retried: " + target);
        return false;
    }

private:
    InstallLog& log_;
};

InstallChoices ChoicesFrom(const SetupContext& context, const InstallChoices& options,
                           const setupcore::StatedChoices& stated) {
    InstallChoices choices = options;
    choices.programsFolder = ProgramsFolder(choices.perUser);
    if (context.installed)
        choices = ChoicesForUpdate(choices, stated, *context.installed);
    if (choices.installDir.empty())
        choices.installDir = DefaultInstallDir(context.package, choices.perUser);
    if (choices.groupName.empty())
        choices.groupName = context.g_strDefaultGroup;
    return choices;
}

} // namespace

int RunSilentInstall(SetupContext& context, const InstallChoices& options,
                     const setupcore::StatedChoices& stated, bool showProgress, InstallLog& log) {
    const Package& package = context.package;
    log.Line("Package: " + AppendPath(context.SetupDirectory(), "Setup.dat") + ", " +
             std::to_string(package.entries.size()) + " files, folder name \"" +
             package.folderName + "\"");
    // The license is the publisher's and the administrator's to accept.
    const InstallChoices choices = ChoicesFrom(context, options, stated);
    log.Line("Install directory: " + choices.installDir +
             (choices.perUser ? " (for the current user alone)" : " (for all users)"));
    log.Line("Program group: " + (choices.programsFolder.empty()
                                      ? std::string("none, the shell knows no Programs folder")
                                      : choices.programsFolder + choices.groupName));

    SilentPrompts prompts(log);
    CCopyProgressDlg window(nullptr, 0);
    LoggedCopyProgress progress(log, showProgress ? &window : nullptr);
    const InstallOutcome outcome = Install(context, choices, prompts, &progress);
    ShowProblem(outcome.problem);
    if (outcome.stage != InstallStage::Installed)
        return ExitCodeFor(outcome);

    log.Line("Installed into " + context.installDir);
    const std::string post = PostInstallCommand(context.installDir, package.postInstall);
    if (!post.empty())
        log.Line((StartPostInstallProgram(context) ? "Started: " : "Could not start: ") + post);
    return kExitDone;
}
