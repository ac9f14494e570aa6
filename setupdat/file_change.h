// A file an installation writes after its copy run (a shell link, the
// record), announced first: what stood under its name steps aside beside it,
// and an installation that does not complete puts it back, or deletes the
// file that was not there.
#pragma once

#include "install_transaction.h"

#include <string>

// The problem when the journal could not announce it.
Problem JournalFileWrite(InstallTransaction& run, const std::string& path);
