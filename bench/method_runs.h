// The work of each method as the child process does it. Only the work itself
// is timed; afterwards each run checks that the work was really done (the
// bytes it produced, what its calls returned, what it left of the package),
// so no figure comes from a step that did less than it claims.
#pragma once

#include "methods.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// What one run of a method found.
struct RunResult {
    bool ok = false;
    std::string error;
    double seconds = 0;
    uint64_t bytes = 0; // bytes produced (installed or copied)
    uint64_t files = 0;
    uint64_t peakBefore = 0; // the child's peak working set before the method ran
    uint64_t peakAfter = 0;  // ... and after it
    uint64_t peakSeenByParent = 0;
};

struct WorkInput {
    const WorkPaths& paths;
    const std::vector<PlannedFile>& files;
};

// Fills the result's time, bytes, files and verdict.
void DoWork(const Method& method, const WorkInput& input, RunResult& result);

} // namespace bench
