#include "timed_process.h"

#include "bench_support.h"
#include "unique_handle.h"

#include <algorithm>
#include <vector>

namespace bench {

namespace {

// PeakWorkingSetSize is a high-water mark, so a reading this often misses at
// most what the process adds in its last few milliseconds. The readings cost
// the measured process nothing that shows: runs with and without them agree.
constexpr DWORD kSampleMilliseconds = 10;

// Wine's loader now and then fails to start a process (CreateProcess error
// 1359) that starts at the next try; a program that cannot start here at all
// (a 32-bit one under a 64-bit-only Wine) fails every try.
constexpr int kStartTries = 3;
constexpr DWORD kRetryMilliseconds = 500;

bool Start(const std::string& program, const std::string& commandLine, PROCESS_INFORMATION& info,
           std::string& error) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info))
        return true;
    error = "CreateProcess failed (error " + std::to_string(::GetLastError()) + ")";
    return false;
}

} // namespace

ProcessRun RunTimedProcess(const std::string& program, const std::string& commandLine) {
    ProcessRun run;
    PROCESS_INFORMATION info = {};
    Stopwatch watch;
    for (int attempt = 1; !run.started && attempt <= kStartTries; ++attempt) {
        if (attempt > 1) {
            Progress("  (%s; trying again)", run.error.c_str());
            ::Sleep(kRetryMilliseconds);
        }
        watch = Stopwatch();
        run.started = Start(program, commandLine, info, run.error);
    }
    if (!run.started)
        return run;
    run.error.clear();
    const UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    while (::WaitForSingleObject(process.get(), kSampleMilliseconds) == WAIT_TIMEOUT)
        run.peakWhileRunning = std::max(run.peakWhileRunning, PeakWorkingSet(process.get()));
    run.seconds = watch.Seconds();
    run.peakAfterExit = PeakWorkingSet(process.get());
    ::GetExitCodeProcess(process.get(), &run.exitCode);
    return run;
}

} // namespace bench
