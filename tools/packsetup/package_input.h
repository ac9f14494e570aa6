// Turns a command line into a package description: reads the input folder or
// manifest and applies the options that say which files are stored plain.
#pragma once

#include "packsetup/command_line.h"
#include "packsetup/package_plan.h"

#include <string>
#include <vector>

namespace packsetup {

// True when `fileName` ends in one of `extensions` ("dll" or ".dll"),
// ignoring letter case.
bool HasPlainExtension(const std::string& fileName, const std::vector<std::string>& extensions);

bool AssemblePlan(const CommandLine& line, PackagePlan& plan, std::string& error);

} // namespace packsetup
