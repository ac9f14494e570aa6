// The install wizard run: the optional license text, the pages in their
// order, the modal sheet, and the package's post-install program.
#pragma once

#include <string>

class CPropertySheet;
class CSetupPgLicense;
class CSetupPgDir;
class CSetupPgGroup;

// Puts the pages into `sheet` as a wizard: the license page first, holding
// the text of License.txt, only when `setupDirectory` has one that opens.
void AssembleInstallWizard(CPropertySheet& sheet, CSetupPgLicense& license, CSetupPgDir& dir,
                           CSetupPgGroup& group, const std::string& setupDirectory);

// The command line that starts the post-install program with "/I"; empty when
// the package names none.
std::string PostInstallCommand(const std::string& installDir, const std::string& postInstall);
