// A whole process, timed from the parent's side: from just before
// CreateProcess to the moment its end is seen. Its peak working set is read
// from the process handle after the end and, as Wine mostly answers that with
// nothing once the process is gone, also every few milliseconds while it runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace bench {

struct ProcessRun {
    bool started = false;
    std::string error; // why it did not start, with the system's error number
    DWORD exitCode = 0;
    double seconds = 0;
    uint64_t peakAfterExit = 0;    // 0: the system would not tell
    uint64_t peakWhileRunning = 0; // the last (highest) reading before the end
};

// Runs `commandLine` (argv[0] included) of `program` to its end.
ProcessRun RunTimedProcess(const std::string& program, const std::string& commandLine);

} // namespace bench
