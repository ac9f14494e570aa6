// The installation's questions as the wizard asks them: a library in use
// through the installation-problem dialog, any other file through a box with
// OK and Cancel.
#pragma once

#include "install_prompts.h"

class WizardPrompts : public InstallPrompts {
public:
    bool RetryFileInUse(const std::string& target, bool isLibrary) override;
};
