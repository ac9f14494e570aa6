// The installation without a user, over the package already read: the wizard's defaults
// or the command line's choices, the engine run with a prompt that never
// waits for anyone, and every step and message written to the log.
#pragma once

#include "install_choices.h"

class InstallLog;
struct SetupContext;

// Over an installed version, every choice not `stated` is the installed one's.
// Returns the exit code. With `showProgress` the copy run's progress window
// shows from the start; no other window ever does.
int RunSilentInstall(SetupContext& context, const InstallChoices& options,
                     const setupcore::StatedChoices& stated, bool showProgress, InstallLog& log);
