// The directories an uninstallation hands over to: one below the temporary
// directory a run, named after the program, a hyphen and eight hexadecimal
// digits, made new so that nobody else can have put anything in it.
#pragma once

#include <string>

class InstallLog;

// Empty when none could be made.
std::string MakeHandOffDirectory(const std::string& temporaryDirectory,
                                 const std::string& programBaseName);
// The name one would have with `number`, for a message about one that could not be made.
std::string HandOffName(const std::string& programBaseName, unsigned long number);
// Whether `directory` is one that MakeHandOffDirectory makes.
bool IsHandOffDirectory(const std::string& directory, const std::string& programBaseName);

// Those that the restart did not remove (a standard user's deletions at
// restart fail), with the copies and moved-aside files in them, unless a
// program still runs from one; never `ownDirectory`, this process's own.
void RemoveStaleHandOffDirectories(const std::string& programBaseName,
                                   const std::string& ownDirectory, InstallLog* log);
