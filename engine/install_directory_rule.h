// The door every install directory passes before anything is made: the one
// typed in the wizard, given by /D= or proposed by default alike.
#pragma once

#include "problem.h"

#include <string>

// The canonical form of `typed` in `canonical`, or the problem that refuses
// it (CannotCreateInstallDir, the directory message): a path that cannot be
// put in canonical form, a drive's or share's root, a folder the shell or
// Windows keeps, or the setup directory itself, whose package the sweep
// clears away after the installation.
Problem CheckInstallDirectory(const std::string& typed, const std::string& setupDirectory,
                              std::string& canonical);
