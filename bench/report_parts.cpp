#include "report_parts.h"

#include "bench_support.h"
#include "summary.h"

#include <cstdio>

namespace bench {

namespace {

constexpr double kPeakTargetMib = 48; // the copy run's peak working set, at most

// What the copy run must reach against the bare loop and against NSIS zlib:
// MB/s for the large file, files/s for the many small ones.
struct Targets {
    double overBareLoop, overNsisZlib;
};

Targets TargetsOf(Part part) {
    return part == Part::Large ? Targets{1.6, 1.6} : Targets{0.9, 1.3};
}

const char* UnitOf(Part part) {
    return part == Part::Large ? "MB/s" : "files/s";
}

FileSet SetOf(Part part) {
    return part == Part::Large   ? FileSet::Large
           : part == Part::Small ? FileSet::Small
                                 : FileSet::Folders;
}

std::string PeakCell(const Summary& s) {
    if (!s.peak)
        return "n/a";
    char cell[32];
    std::snprintf(cell, sizeof cell, "%.1f%s", s.peak / kMiB, s.peakSampled ? "*" : "");
    return cell;
}

void PrintTimedRow(const Method& method, const char* timed, double seconds, const Summary& s) {
    std::printf("| %s | %s | %.3f | %.3f | %.1f | %.0f | %s |\n", method.title, timed, seconds,
                s.processSeconds, MegabytesPerSecond(s, seconds), FilesPerSecond(s, seconds),
                PeakCell(s).c_str());
}

void PrintNetRow(const Method& method, const Summary& s) {
    if (!s.hasNet)
        std::printf("| %s | process − floor | its floor failed | %.3f | | | %s |\n", method.title,
                    s.processSeconds, PeakCell(s).c_str());
    else if (s.netSeconds <= 0)
        std::printf("| %s | process − floor | below the floor | %.3f | | | %s |\n", method.title,
                    s.processSeconds, PeakCell(s).c_str());
    else
        PrintTimedRow(method, "process − floor", s.netSeconds, s);
}

// One row a method, two for the copy run (its work alone, and its whole
// process less the floor, which is what the installers are held against).
bool PrintRow(const Method& method, const Summary& s) {
    if (!s.ok) {
        std::printf("| %s | | %s%s | | | | |\n", method.title,
                    s.unavailable ? "" : "failed: ", s.error.c_str());
        return s.unavailable;
    }
    if (method.work != Work::Installer)
        PrintTimedRow(method, "work", s.workSeconds, s);
    if (method.work == Work::CopyRun || method.work == Work::Installer)
        PrintNetRow(method, s);
    return true;
}

void PrintIntroduction(Part part, const Options& options, const Measurements& measurements) {
    const SetFacts& set = measurements.payload.Of(SetOf(part));
    if (part == Part::Large)
        std::printf("\n## (a) %d large compressed files\n\n%d x %d MiB of text-like data, "
                    "packaged %.1f MiB (%.1f %%).",
                    options.largeFiles, options.largeFiles, options.largeMib, set.packaged / kMiB,
                    100.0 * set.packaged / set.bytes);
    else
        std::printf("\n## (%s) %d small files%s\n\n1 to %d KiB each, %d of them compressed; "
                    "%.1f MiB installed, %.1f MiB packaged.",
                    part == Part::Small ? "b" : "b2", set.files,
                    part == Part::Folders ? " in folders of 100" : "",
                    part == Part::Small ? 16 : 64, set.compressed, set.bytes / kMiB,
                    set.packaged / kMiB);
    for (const Peer peer : kPeers) {
        const PeerInstaller& installer = measurements.peers.Of(peer, SetOf(part));
        if (installer.unavailable.empty())
            std::printf(" %s installer %.1f MiB.", PeerTitle(peer), installer.bytes / kMiB);
    }
    std::printf("\n\n");
}

struct Comparison {
    std::string label;
    bool measured = false;
    std::string why; // when not measured
    double value = 0;
};

// The copy run's throughput over another's: the other's time over the copy run's.
Comparison Ratio(std::string label, bool net, const Summary& copyRun, const Summary& other) {
    Comparison c;
    c.label = std::move(label);
    const Summary& missing = !copyRun.ok ? copyRun : other;
    if (!copyRun.ok || !other.ok)
        c.why = missing.unavailable ? missing.error : "a run failed";
    else if (net && (!copyRun.hasNet || !other.hasNet))
        c.why = "a floor failed";
    else if (net && (copyRun.netSeconds <= 0 || other.netSeconds <= 0))
        c.why = "a time below its floor";
    else {
        c.measured = true;
        c.value =
            net ? other.netSeconds / copyRun.netSeconds : other.workSeconds / copyRun.workSeconds;
    }
    return c;
}

// A row of the targets table; `target` 0 for a comparison without one.
void PrintVerdict(const Comparison& c, double target, bool atMost, TargetTally& tally) {
    char goal[32] = "none";
    if (target)
        std::snprintf(goal, sizeof goal, "%s %.*f", atMost ? "≤" : "≥", atMost ? 0 : 2, target);
    if (!c.measured) {
        std::printf("| %s | n/a | %s | not measured: %s |\n", c.label.c_str(), goal, c.why.c_str());
        tally.notMeasured += target ? 1 : 0;
        return;
    }
    const bool met = atMost ? c.value <= target : c.value >= target;
    std::printf("| %s | %.*f | %s | %s |\n", c.label.c_str(), atMost ? 1 : 2, c.value, goal,
                !target ? ""
                : met   ? "met"
                        : "NOT MET");
    if (target)
        (met ? tally.met : tally.notMet) += 1;
}

void PrintTargets(Part part, const Measurements& m, TargetTally& tally) {
    const Targets targets = TargetsOf(part);
    const std::string unit = UnitOf(part);
    const Summary copyRun = Summarise(m, part, Work::CopyRun);
    std::printf("\n| Comparison | Measured | Target | Verdict |\n|---|---:|---|---|\n");
    PrintVerdict(Ratio("Copy run / bare zlib loop, " + unit + ", work", false, copyRun,
                       Summarise(m, part, Work::BareLoop)),
                 targets.overBareLoop, false, tally);
    PrintVerdict(Ratio("Copy run / NSIS zlib, " + unit + ", process − floor", true, copyRun,
                       Summarise(m, part, Work::Installer, Peer::NsisZlib)),
                 targets.overNsisZlib, false, tally);
    PrintVerdict(Ratio("Copy run / NSIS LZMA solid, " + unit + ", process − floor", true, copyRun,
                       Summarise(m, part, Work::Installer, Peer::NsisLzma)),
                 0, false, tally);
    Comparison peak;
    peak.label = "Copy run peak working set, MiB";
    peak.measured = copyRun.ok && copyRun.peak;
    peak.why = copyRun.ok ? "no reading" : "the copy run failed";
    peak.value = copyRun.peak / kMiB;
    PrintVerdict(peak, kPeakTargetMib, true, tally);
}

} // namespace

bool PrintPayloadPart(Part part, const Options& options, const Measurements& measurements,
                      TargetTally& tally) {
    PrintIntroduction(part, options, measurements);
    std::printf("| Method | Timed | Median s | Whole process s | MB/s | files/s | Peak WS MiB |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|\n");
    bool allRan = true;
    for (const Method& method : Methods()) {
        if (method.part == part)
            allRan = PrintRow(method, Summarise(measurements, method)) && allRan;
    }
    PrintTargets(part, measurements, tally);
    return allRan;
}

} // namespace bench
