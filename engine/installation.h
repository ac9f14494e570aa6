// The installation as one call: the install directory, the copy run, URL.txt,
// the program group and its shortcuts, the uninstall entry, auto-start, the
// complete install record, the optional launch, and clearing the package out
// of the setup directory. It asks through `prompts` and tells nobody
// anything: the outcome says how far it got and what stopped it.
#pragma once

#include "install_choices.h"
#include "problem.h"

#include <string>

class CopyProgress;
class InstallPrompts;
struct SetupContext;

enum class InstallStage {
    AnotherRun,       // another run of the product holds its lock; nothing was done
    DirectoryRefused, // the install directory was refused or could not be made; nothing was done
    CopyFailed,       // the run stopped (the copy run, or memory), and all it did was undone
    Installed,        // every step ran, and the installation is committed
};

struct InstallOutcome {
    InstallStage stage = InstallStage::Installed;
    Problem problem; // what stopped it, unless installed
};

InstallOutcome Install(SetupContext& context, const InstallChoices& choices,
                       InstallPrompts& prompts, CopyProgress* progress);

// The command line that starts the package's post-install program with
// "/I"; empty when the package names none.
std::string PostInstallCommand(const std::string& installDir, const std::string& postInstall);
// Starts it, once the installation is done; false when there is none or it
// could not be started.
bool StartPostInstallProgram(const SetupContext& context);
