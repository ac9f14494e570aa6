// What an installation proposes when nobody chose otherwise: the install
// directory and the Programs folder that holds the program group. The
// wizard's pages start from them; an unattended run takes them as they are.
#pragma once

#include <string>

struct Package;

// "?:\Program Files\" on the first fixed or network drive from the Windows
// drive on that has one, else "C:\", followed by the package's folder name.
// For the user alone: "<the user's local application data>\Programs\" and
// the folder name.
std::string DefaultInstallDir(const Package& package, bool perUser = false);

// Puts into the first character of `path` ("?:\Program Files\") the letter of
// the first fixed or network drive, from the Windows drive on, where `path`
// is a directory; 1 when one was found, else 0. The current directory is the
// same afterwards.
int FindProgramFilesDrive(std::string& path);

// The folder holding the Start menu's program groups, followed by one
// backslash; empty when the shell knows none. For the user alone, only the
// user's own.
std::string ProgramsFolder(bool perUser = false);
