// Reading a whole package index or install record into memory.
#pragma once

#include "problem.h"

#include <string>

// The file's bytes; on failure the problem: `cannotOpen` with the path, or
// no memory.
Problem ReadWholeFileFor(const std::string& path, DWORD share, ProblemKind cannotOpen,
                         std::string& contents);
