// The install wizard run: the optional license text, the pages in their
// order, the modal sheet, and the package's post-install program.
#pragma once

#include "install_choices.h"

#include <string>

class CPropertySheet;
class CSetupPgLicense;
class CSetupPgDir;
class CSetupPgGroup;
struct SetupContext;

// Puts the pages into `sheet` as a wizard: the license page first, holding
// the text of License.txt, only when `setupDirectory` has one that opens.
void AssembleInstallWizard(CPropertySheet& sheet, CSetupPgLicense& license, CSetupPgDir& dir,
                           CSetupPgGroup& group, const std::string& setupDirectory);

// Runs the install wizard over the package index already read, its pages
// starting from the directory and group of `presets` when given, then the
// package's post-install program when the wizard installed it. Returns the
// exit code.
int RunInstallWizard(SetupContext& context, const InstallChoices& presets,
                     const setupcore::StatedChoices& stated = {});
