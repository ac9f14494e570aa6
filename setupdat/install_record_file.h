// The install record on disk, in the install directory under the setup
// program's name ("SetupInfo.dat"), read whole into a value.
#pragma once

#include "install_record.h"
#include "problem.h"

#include <string>

// Reads the record at `path`: CannotOpenRecord when it cannot be opened,
// RecordInvalid (with the path) when it is damaged, NoMemory.
Problem ReadInstallRecord(const std::string& path, setupcore::InstallRecord& record);
