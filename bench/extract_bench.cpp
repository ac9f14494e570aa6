// Throughput and peak memory of the copy run (InstallFiles),
// measured against two baselines and two peers on the same data:
//   - CopyFileA of the packaged file: what the disk does without inflating;
//   - a bare zlib loop (ReadFile, inflate, WriteFile in 256 KiB chunks): the
//     fastest reasonable direct use of zlib;
//   - NSIS installers of the same files, zlib and solid LZMA, each run whole
//     as a silent install, less the run of an empty installer of its kind.
// Part (a) installs one large compressed file, part (b) many small files, part
// (b2) files in folders, half of them compressed; --breakdown adds part (c):
// steps of the copy run timed alone on the small files, to see where its time
// goes beyond the bare loop's.
//
// The parent generates the payload once into a work directory under %TEMP%,
// has makensis build the peers' installers from it, runs every method in a
// fresh process (child_process.h, installer_runs.h), removes the work
// directory and prints the report: Markdown on stdout, progress on stderr.
//
//   extract_bench [--large-mib N] [--small-count N] [--folder-count N] [--reps N]
//                 [--breakdown] [--no-peers] [--nsis-target x86|amd64]

#include "bench_support.h"
#include "child_process.h"
#include "installer_runs.h"
#include "report.h"
#include "test_files.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using namespace bench;

void RunOnce(const Method& method, const Options& options, const WorkPaths& paths,
             Measurements& measurements) {
    const RunResult result =
        method.work == Work::Installer
            ? RunInstaller(method, options, paths, measurements.peers.Of(method.peer, method.files),
                           measurements.peers.target)
            : RunInChild(method, options, paths);
    if (result.unavailable)
        Progress("  %-18s %s", method.name, result.error.c_str());
    else if (!result.ok)
        Progress("  %s FAILED: %s", method.name, result.error.c_str());
    else if (method.work == Work::Installer) // no inside view: the whole process only
        Progress("  %-18s                %8.3f s process  peak working set %.1f MiB", method.name,
                 result.processSeconds,
                 std::max(result.peakSeenByParent, result.peakSampled) / kMiB);
    else
        Progress("  %-18s %8.3f s work %8.3f s process  peak working set %.1f MiB", method.name,
                 result.seconds, result.processSeconds,
                 std::max(result.peakAfter, result.peakSampled) / kMiB);
    measurements.runs[IndexOf(method)].push_back(result);
}

bool RunsWith(const Method& method, Part part, const Options& options) {
    return method.part == part ||
           (part == Part::Small && method.part == Part::Steps && options.breakdown);
}

// A peer whose empty installer could not even start cannot start with files
// either: its other rows give the same reason without trying.
void MarkUnrunnablePeers(Measurements& measurements) {
    for (const Peer peer : kPeers) {
        const auto& floors = measurements.Of(FindMethod(Part::StartUp, Work::Installer, peer));
        if (!floors.empty() && floors.front().unavailable)
            measurements.peers.MarkUnrunnable(peer, floors.front().error);
    }
}

const char* PartName(Part part) {
    switch (part) {
    case Part::StartUp:
        return "start-up floors";
    case Part::Large:
        return "(a) large file";
    case Part::Small:
        return "(b) small files";
    case Part::Folders:
        return "(b2) files in folders";
    case Part::Steps:
        break;
    }
    return "(c) steps";
}

// The first process of a kind loads its DLLs from disk rather than from the
// page cache, and would raise the floor that every later run is measured by:
// one run of each floor comes first, and counts for nothing.
void WarmUp(const Options& options, const WorkPaths& paths, Measurements& measurements) {
    Progress("warming up (not counted):");
    Measurements discarded;
    discarded.peers = measurements.peers;
    for (const Method& method : Methods()) {
        if (method.part == Part::StartUp)
            RunOnce(method, options, paths, discarded);
    }
}

// Runs the start-up floors, then each method of parts (a), (b) and (b2) (and
// (c) with --breakdown, alongside (b)) `reps` times, interleaved so that a
// slow moment of the machine falls on every method alike.
void Measure(const Options& options, const WorkPaths& paths, Measurements& measurements) {
    WarmUp(options, paths, measurements);
    for (const Part part : {Part::StartUp, Part::Large, Part::Small, Part::Folders}) {
        for (int rep = 0; rep < options.reps; ++rep) {
            Progress("%s, run %d of %d:", PartName(part), rep + 1, options.reps);
            for (const Method& method : Methods()) {
                if (RunsWith(method, part, options))
                    RunOnce(method, options, paths, measurements);
            }
        }
        if (part == Part::StartUp)
            MarkUnrunnablePeers(measurements);
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
    measurements.machine = ReadMachineInfo();
    measurements.stub = ReadShippedStub();
    measurements.payload = GeneratePayload(options, paths, options.peers);
    measurements.generatorPeak = PeakWorkingSet(::GetCurrentProcess());
    if (options.peers) // the installed copies are there for the peers only
        measurements.packageBuilds = MeasurePackageBuilds(paths);
    measurements.peers.Build(options, paths);
    Measure(options, paths, measurements);
    if (options.peers)
        measurements.firstWindows = MeasureFirstWindows(options, paths, measurements.peers);
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
