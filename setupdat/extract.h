// The copy run over an installation transaction: the obsolete files set
// aside, every packaged file copied or inflated into the install directory
// (an existing one only once its successor is whole), the record written.
#pragma once

#include "problem.h"

#include <string>

class CopyProgress;
class InstallPrompts;
class InstallTransaction;

// `prompts` is asked about files in use; `progress`, when given, hears how
// far it got. On a problem the transaction holds what to undo.
Problem InstallFiles(InstallTransaction& run, const std::string& recordFileName,
                     InstallPrompts& prompts, CopyProgress* progress = nullptr);

// Once the installation is committed: the packaged files it was read from
// are deleted from the setup directory (or left to the restart).
void ClearPackagedCopies(const InstallTransaction& run);
