// The door every install directory passes before anything is made: the one
// typed in the wizard, given by /D= or proposed by default alike.
#pragma once

#include "problem.h"

#include <cstddef>
#include <string>

// The longest install directory taken: what the design's 260-byte fields hold.
constexpr size_t kMaxInstallDir = 259;

// The canonical form of `typed` in `canonical`, or the problem that refuses
// it: InstallDirTooLong for one over kMaxInstallDir characters (refused, never
// cut: a cut one would install where nobody chose); else
// CannotCreateInstallDir (the directory message) for a path that cannot be
// put in canonical form, a drive's or share's root, a folder the shell or
// Windows keeps, or the setup directory itself, whose package the sweep
// clears away after the installation.
Problem CheckInstallDirectory(const std::string& typed, const std::string& setupDirectory,
                              std::string& canonical);
// Its first rule alone, for the wizard's page to refuse a directory too long
// before the user goes on: the others are told when Install is pressed.
Problem CheckInstallDirectoryLength(const std::string& typed);
