// The work of each method as the child process does it. Only the work itself
// is timed; afterwards each run checks that the work was really done (the
// bytes it produced, what its calls returned, what it left of the package),
// so no figure comes from a step that did less than it claims. The checks are
// timed too, so that the whole-process figures can leave them out.
#pragma once

#include "methods.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// What one run of a method found.
struct RunResult {
    bool ok = false;
    // A peer that cannot run here: the row says why, and it is no failure of the benchmark.
    bool unavailable = false;
    std::string error;
    double seconds = 0;        // the work alone, timed inside the process
    double checkSeconds = 0;   // the checks after the work, inside the process
    double processSeconds = 0; // the whole process, from CreateProcess to its end
    uint64_t bytes = 0;        // bytes produced (installed or copied)
    uint64_t files = 0;
    uint64_t peakBefore = 0;       // the child's peak working set before the method ran
    uint64_t peakAfter = 0;        // ... and after it
    uint64_t peakSeenByParent = 0; // read from the ended process's handle (Wine: mostly 0)
    uint64_t peakSampled = 0;      // the highest read from the handle while it ran
};

struct WorkInput {
    const WorkPaths& paths;
    const std::vector<PlannedFile>& files;
};

// Fills the result's times, bytes, files and verdict.
void DoWork(const Method& method, const WorkInput& input, RunResult& result);

// The size of the files as they lie below `directory` now, by their entry names.
uint64_t InstalledBytes(const std::string& directory, const std::vector<PlannedFile>& files);

} // namespace bench
