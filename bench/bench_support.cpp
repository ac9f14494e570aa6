#include "bench_support.h"

#include "test_files.h"

#include <psapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

std::function<void(const std::string&)>& DieAction() {
    static std::function<void(const std::string&)> action;
    return action;
}

} // namespace

void AtDie(std::function<void(const std::string& message)> action) {
    DieAction() = std::move(action);
}

void Die(const char* format, ...) {
    char message[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    std::fprintf(stderr, "extract_bench: %s\n", message);
    if (DieAction())
        DieAction()(message);
    std::exit(2);
}

void Progress(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    std::fputs("\n", stderr);
    va_end(args);
    std::fflush(stderr);
}

void MakeFreshDirectory(const std::string& path) {
    RemoveTree(path);
    if (!::CreateDirectoryA(path.c_str(), nullptr))
        Die("cannot create directory %s (error %lu)", path.c_str(), ::GetLastError());
}

uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Stopwatch::Stopwatch() {
    ::QueryPerformanceFrequency(&frequency_);
    ::QueryPerformanceCounter(&start_);
}

double Stopwatch::Seconds() const {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_.QuadPart) /
           static_cast<double>(frequency_.QuadPart);
}

uint64_t PeakWorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    return counters.PeakWorkingSetSize;
}

} // namespace bench
