// What the user chose for the installation: one type from the command line
// (setup_command_line.h) through the wizard's pages to the engine.
#pragma once

#include "setup_command_line.h"

using setupcore::InstallChoices;
