// Throughput and peak memory of the copy run (CSetupDat::InstallFiles),
// measured against two baselines on the same packaged data:
//   - CopyFileA of the packaged file: what the disk does without inflating;
//   - a bare zlib loop (ReadFile, inflate, WriteFile in 256 KiB chunks): the
//     fastest reasonable direct use of zlib.
// Part (a) installs one large compressed file, part (b) many small files, half
// of them compressed; --breakdown adds part (c): steps of the copy run timed
// alone on the small files, to see where its time goes beyond the bare loop's.
//
// The parent generates the package once into a work directory under %TEMP%,
// runs every method in a fresh child process (child_process.h), removes the
// work directory and prints the report: Markdown on stdout, progress on stderr.
//
//   extract_bench [--large-mib N] [--small-count N] [--reps N] [--breakdown]

#include "bench_support.h"
#include "child_process.h"
#include "report.h"
#include "test_files.h"

#include <cstdio>
#include <string>

namespace {

using namespace bench;

void RunOnce(const Method& method, const Options& options, const WorkPaths& paths,
             Measurements& measurements) {
    const RunResult result = RunInChild(method, options, paths);
    if (!result.ok)
        Progress("  %s FAILED: %s", method.name, result.error.c_str());
    else if (result.files)
        Progress("  %-18s %8.3f s  peak working set %.1f MiB (%.1f before the run)", method.name,
                 result.seconds, result.peakAfter / kMiB, result.peakBefore / kMiB);
    measurements.runs[IndexOf(method)].push_back(result);
}

bool RunsWith(const Method& method, Part part, const Options& options) {
    return method.part == part ||
           (part == Part::Small && method.part == Part::Steps && options.breakdown);
}

// Runs the process start-up alone once, then each method of parts (a) and (b)
// (and (c) with --breakdown, alongside (b)) `reps` times, interleaved so that
// a slow moment of the machine falls on every method alike.
void Measure(const Options& options, const WorkPaths& paths, Measurements& measurements) {
    Progress("process start-up only...");
    RunOnce(FindMethod(Part::StartUp, Work::Nothing), options, paths, measurements);
    for (const Part part : {Part::Large, Part::Small}) {
        for (int rep = 0; rep < options.reps; ++rep) {
            Progress("%s, run %d of %d:", part == Part::Large ? "large" : "small", rep + 1,
                     options.reps);
            for (const Method& method : Methods()) {
                if (RunsWith(method, part, options))
                    RunOnce(method, options, paths, measurements);
            }
        }
    }
}

std::string NewWorkDirectory() {
    char temp[MAX_PATH];
    const DWORD length = ::GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH)
        Die("no temporary directory");
    return AppendPath(temp, "extract-bench-" + std::to_string(::GetCurrentProcessId()));
}

int ParentMain(const Options& options) {
    const Stopwatch total;
    const WorkPaths paths(NewWorkDirectory());
    Progress("work directory %s", paths.work.c_str());
    AtDie([&paths](const std::string&) { RemoveTree(paths.work); });
    MakeFreshDirectory(paths.work);

    Measurements measurements;
    measurements.payload = GeneratePayload(options, paths);
    measurements.generatorPeak = PeakWorkingSet(::GetCurrentProcess());
    Measure(options, paths, measurements);
    RemoveTree(paths.work);
    AtDie(nullptr);

    const bool allRan = PrintReport(options, measurements, total.Seconds());
    std::fflush(stdout);
    return allRan ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--run")
        return ChildMain(argv[2], ParseOptions(argc, argv, 4), WorkPaths(argv[3]));
    return ParentMain(ParseOptions(argc, argv, 1));
}
