#include "report.h"

#include "bench_support.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace bench {

namespace {

constexpr double kRatioTarget = 0.8;  // copy run / bare loop throughput, at least
constexpr double kPeakTargetMib = 32; // the copy run's peak working set, under

struct Summary {
    bool ok = false;
    std::string error;
    double medianSeconds = 0, bestSeconds = 0;
    uint64_t bytes = 0, files = 0, peak = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median and best time of the runs; the peak is the highest that the child
// or the parent saw in any run.
Summary Summarise(const std::vector<RunResult>& runs) {
    Summary summary;
    std::vector<double> times;
    for (const RunResult& run : runs) {
        if (!run.ok) {
            summary.error = run.error;
            return summary;
        }
        times.push_back(run.seconds);
        summary.bytes = run.bytes;
        summary.files = run.files;
        summary.peak =
            std::max<uint64_t>(summary.peak, std::max(run.peakAfter, run.peakSeenByParent));
    }
    if (times.empty())
        return summary;
    summary.medianSeconds = Median(times);
    summary.bestSeconds = *std::min_element(times.begin(), times.end());
    summary.ok = true;
    return summary;
}

Summary SummaryOf(const Measurements& measurements, Part part, Work work) {
    return Summarise(measurements.Of(FindMethod(part, work)));
}

void PrintIntroduction(const Options& options, const Measurements& measurements) {
    std::printf("# Extraction benchmark\n\n");
    std::printf("Each method runs %d time%s, each time in a fresh process on a fresh copy of "
                "the packaged files; the table shows the median time. MB/s is 10^6 bytes "
                "per second: of installed (uncompressed) bytes for the copy run and the bare "
                "zlib loop, of bytes copied for CopyFileA. Peak WS is the run's process's "
                "PeakWorkingSetSize after the run.\n\n",
                options.reps, options.reps == 1 ? "" : "s");
    const std::vector<RunResult>& idle = measurements.Of(FindMethod(Part::StartUp, Work::Nothing));
    std::printf("Process start-up alone (no method run): peak WS %.1f MiB.\n",
                idle.empty() ? 0.0 : idle.front().peakAfter / kMiB);
    std::printf("Generator (this process): peak WS %.1f MiB.\n\n",
                measurements.generatorPeak / kMiB);
}

void PrintTargets(const Measurements& measurements) {
    const Summary copyRun = SummaryOf(measurements, Part::Large, Work::CopyRun);
    const Summary bare = SummaryOf(measurements, Part::Large, Work::BareLoop);
    if (!copyRun.ok || !bare.ok)
        return;
    const double ratio = bare.medianSeconds / copyRun.medianSeconds;
    std::printf("\nCopy run / bare zlib loop throughput: %.2f (target >= 0.80): %s\n", ratio,
                ratio >= kRatioTarget ? "met" : "NOT MET");
    std::printf("Copy run peak working set: %.1f MiB (target < 32 MiB): %s\n", copyRun.peak / kMiB,
                copyRun.peak < kPeakTargetMib * kMiB ? "met" : "NOT MET");
}

// A row for each method of `part`: `printRow` for those whose runs all
// succeeded, the first failure for the others (then `emptyCells` fill the row).
// Returns false when a method failed.
bool PrintRows(const Measurements& measurements, Part part, const char* emptyCells,
               const std::function<void(const Method&, const Summary&)>& printRow) {
    bool allRan = true;
    for (const Method& method : Methods()) {
        if (method.part != part)
            continue;
        const Summary s = Summarise(measurements.Of(method));
        if (s.ok)
            printRow(method, s);
        else
            std::printf("| %s | failed: %s |%s\n", method.title, s.error.c_str(), emptyCells);
        allRan = allRan && s.ok;
    }
    return allRan;
}

bool PrintLargePart(const Options& options, const Measurements& measurements) {
    const PayloadFacts& payload = measurements.payload;
    std::printf("## (a) One large compressed file\n\n");
    std::printf("%d MiB of text-like data, packaged %.1f MiB (%.1f %% of the data).\n\n",
                options.largeMib, payload.largePackage / kMiB,
                100.0 * payload.largePackage / payload.largeBytes);
    std::printf("| Method | Median s | MB/s | Best MB/s | Peak WS MiB |\n");
    std::printf("|---|---:|---:|---:|---:|\n");
    const bool allRan =
        PrintRows(measurements, Part::Large, " | | |", [](const Method& method, const Summary& s) {
            std::printf("| %s | %.3f | %.1f | %.1f | %.1f |\n", method.title, s.medianSeconds,
                        s.bytes / kMB / s.medianSeconds, s.bytes / kMB / s.bestSeconds,
                        s.peak / kMiB);
        });
    PrintTargets(measurements);
    return allRan;
}

bool PrintSmallPart(const Options& options, const Measurements& measurements) {
    const PayloadFacts& payload = measurements.payload;
    std::printf("\n## (b) %d small files\n\n", options.smallCount);
    std::printf("1 to 16 KiB each, %d of them compressed; %.1f MiB installed, %.1f MiB "
                "packaged.\n\n",
                payload.smallCompressed, payload.smallBytes / kMiB, payload.smallPackages / kMiB);
    std::printf("| Method | Median s | files/s | MB/s | Peak WS MiB |\n");
    std::printf("|---|---:|---:|---:|---:|\n");
    return PrintRows(
        measurements, Part::Small, " | | |", [](const Method& method, const Summary& s) {
            std::printf("| %s | %.3f | %.0f | %.1f | %.1f |\n", method.title, s.medianSeconds,
                        s.files / s.medianSeconds, s.bytes / kMB / s.medianSeconds, s.peak / kMiB);
        });
}

bool PrintSteps(const Options& options, const Measurements& measurements) {
    std::printf("\n## (c) Steps of the copy run, each timed alone on the %d small files\n\n",
                options.smallCount);
    std::printf("| Step | Median s | Per file, us |\n|---|---:|---:|\n");
    double sum = 0;
    const bool allRan =
        PrintRows(measurements, Part::Steps, " |", [&](const Method& method, const Summary& s) {
            sum += s.medianSeconds;
            std::printf("| %s | %.3f | %.0f |\n", method.title, s.medianSeconds,
                        1e6 * s.medianSeconds / options.smallCount);
        });
    const Summary copyRun = SummaryOf(measurements, Part::Small, Work::CopyRun);
    const Summary bare = SummaryOf(measurements, Part::Small, Work::BareLoop);
    if (allRan && copyRun.ok && bare.ok)
        std::printf("\nSum of the steps: %.3f s; copy run minus bare zlib loop: %.3f s.\n", sum,
                    copyRun.medianSeconds - bare.medianSeconds);
    return allRan;
}

} // namespace

bool PrintReport(const Options& options, const Measurements& measurements, double totalSeconds) {
    PrintIntroduction(options, measurements);
    bool allRan = PrintLargePart(options, measurements);
    allRan = PrintSmallPart(options, measurements) && allRan;
    if (options.breakdown)
        allRan = PrintSteps(options, measurements) && allRan;
    std::printf("\nWhole run: %.0f s.\n", totalSeconds);
    return allRan;
}

} // namespace bench
