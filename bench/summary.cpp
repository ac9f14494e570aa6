#include "summary.h"

#include "bench_support.h"

#include <algorithm>

namespace bench {

namespace {

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The child's own report of its peak is the best; then the ended process's
// counters; then the highest reading taken while it ran.
void TakePeak(const RunResult& run, Summary& summary) {
    const uint64_t exact = std::max(run.peakAfter, run.peakSeenByParent);
    const uint64_t peak = exact ? exact : run.peakSampled;
    if (peak > summary.peak) {
        summary.peak = peak;
        summary.peakSampled = exact == 0;
    }
}

// The medians of the runs; the first failed run, if any, decides.
Summary Reduce(const std::vector<RunResult>& runs) {
    Summary summary;
    std::vector<double> work, process, lessChecks;
    for (const RunResult& run : runs) {
        if (!run.ok) {
            summary.error = run.error;
            summary.unavailable = run.unavailable;
            return summary;
        }
        work.push_back(run.seconds);
        process.push_back(run.processSeconds);
        lessChecks.push_back(run.processSeconds - run.checkSeconds);
        summary.bytes = run.bytes;
        summary.files = run.files;
        TakePeak(run, summary);
    }
    if (runs.empty())
        return summary;
    summary.workSeconds = Median(work);
    summary.processSeconds = Median(process);
    summary.netSeconds = Median(lessChecks);
    summary.ok = true;
    return summary;
}

} // namespace

const Method& FloorOf(const Method& method) {
    if (method.work == Work::Installer)
        return FindMethod(Part::StartUp, Work::Installer, method.peer);
    return FindMethod(Part::StartUp, Work::Nothing);
}

Summary Summarise(const Measurements& measurements, const Method& method) {
    Summary summary = Reduce(measurements.Of(method));
    if (!summary.ok || method.part == Part::StartUp)
        return summary;
    const Summary floor = Reduce(measurements.Of(FloorOf(method)));
    summary.hasNet = floor.ok;
    summary.netSeconds -= floor.netSeconds;
    return summary;
}

Summary Summarise(const Measurements& measurements, Part part, Work work, Peer peer) {
    return Summarise(measurements, FindMethod(part, work, peer));
}

double MegabytesPerSecond(const Summary& s, double seconds) {
    return seconds > 0 ? s.bytes / kMB / seconds : 0;
}

double FilesPerSecond(const Summary& s, double seconds) {
    return seconds > 0 ? s.files / seconds : 0;
}

} // namespace bench
