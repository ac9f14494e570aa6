// Shared by the system tests: where the real Setup.exe lies, and copying it
// (with the zlib1.dll it needs) to where a test runs it.
#pragma once

#include "test_files.h"

#include <string>
#include <vector>

// Copies Setup.exe as `directory`\`programName`, and zlib1.dll beside it;
// false (with a test failure) when either copy fails.
bool CopySetupProgram(const std::string& directory, const std::string& programName);

// The files directly in `directory` whose names match `pattern` (such as "*.tmp").
std::vector<std::string> FilesMatching(const std::string& directory, const std::string& pattern);
// The same for the subdirectories.
std::vector<std::string> DirectoriesMatching(const std::string& directory,
                                             const std::string& pattern);
