// Reading a whole package index or install record into memory.
#pragma once

#include "problem.h"

#include <cstdint>
#include <string>

// The file's bytes; on failure the problem: `cannotOpen` with the path, no
// memory, or for a file larger than `maxSize` (no real one is) `invalid`
// with the path.
Problem ReadWholeFileFor(const std::string& path, DWORD share, uint64_t maxSize,
                         ProblemKind cannotOpen, ProblemKind invalid, std::string& contents);
