// A file an installation writes after its copy run (a shell link), with what
// stood under its name before: an installation that does not complete puts
// the old bytes back, or deletes a file that was not there.
#pragma once

#include "install_transaction.h"

#include <string>

void JournalFileWrite(InstallTransaction& run, const std::string& path);
