// Small helpers shared by the benchmark's parent and child processes: the one
// way out on a fatal error, progress lines, directories, timing and memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace bench {

constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kMB = 1000.0 * 1000.0;

// Prints the message to stderr, runs the action given to AtDie and ends the
// program with exit code 2.
[[noreturn]] void Die(const char* format, ...);
// What Die does before it ends the program: the parent removes its work
// directory, a child leaves a failed result for the parent.
void AtDie(std::function<void(const std::string& message)> action);

// One line on stderr, flushed at once: the report owns stdout.
void Progress(const char* format, ...);

// Removes `path` with all it holds and creates it again, empty.
void MakeFreshDirectory(const std::string& path);
// 0 for a file that does not exist.
uint64_t FileSize(const std::string& path);

class Stopwatch {
public:
    Stopwatch();
    double Seconds() const;

private:
    LARGE_INTEGER frequency_, start_;
};

// 0 when the system cannot tell (Wine, for an ended process, mostly cannot).
uint64_t PeakWorkingSet(HANDLE process);

} // namespace bench
