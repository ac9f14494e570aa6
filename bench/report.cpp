#include "report.h"

#include "bench_support.h"
#include "nsis_script.h"
#include "report_parts.h"
#include "summary.h"

#include <cstdio>

namespace bench {

namespace {

void PrintMachine(const Options& options, const Measurements& m) {
    const MachineInfo& machine = m.machine;
    std::printf("## Machine\n\n");
    std::printf("- Run started %s.\n", machine.startedAt.c_str());
    std::printf("- Processor: %s (registry); %s (/proc/cpuinfo).\n",
                machine.cpuFromRegistry.empty() ? "not named" : machine.cpuFromRegistry.c_str(),
                machine.cpuFromProc.empty() ? "unreadable" : machine.cpuFromProc.c_str());
    std::printf("- Cores: %u as Windows counts them, %u in /proc/cpuinfo; memory %.1f GiB.\n",
                machine.processors, machine.procProcessors, machine.memoryBytes / (1024.0 * kMiB));
    std::printf("- Wine %s on %s; this program is the %s build%s.\n",
                machine.wineVersion.empty() ? "(none: not under Wine)"
                                            : machine.wineVersion.c_str(),
                machine.host.empty() ? "an unknown host" : machine.host.c_str(),
#ifdef _WIN64
                "64-bit",
#else
                "32-bit",
#endif
                machine.emulated ? ", its 32-bit code run by qemu's user-mode emulator (this "
                                   "kernel runs none): every figure is several times slower "
                                   "than on a 32-bit capable host, the peers' alike"
                                 : "");
    if (!options.peers)
        std::printf("- Peers: not measured (--no-peers).\n");
    else
        std::printf("- Peers: NSIS %s (makensis run on Linux), installers built for %s.\n",
                    m.peers.makensisVersion.empty() ? "(makensis not found)"
                                                    : m.peers.makensisVersion.c_str(),
                    NsisTargetName(m.peers.target));
}

void PrintHowToRead(const Options& options) {
    std::printf(
        "\n## How to read the figures\n\n"
        "Each method ran %d time%s, each time in a fresh process on fresh copies; the tables "
        "show medians. A row is timed in one of two ways:\n\n"
        "- **work**: the method's work alone, timed inside its own process (for the copy run, "
        "`InstallFiles` alone). The copy run / bare zlib loop comparison uses these.\n"
        "- **process − floor**: the whole process, timed by the parent from CreateProcess to "
        "the end of the process, less the median of its start-up floor (below). The copy run's "
        "process is this program started again to do the copy run, its floor this program "
        "doing nothing, and the child's checks after its work are left out; an NSIS "
        "installer's floor is an empty installer of the same compressor. The copy run / NSIS "
        "comparisons use these: whole process against whole process.\n\n"
        "MB/s is 10^6 installed bytes a second (bytes copied, for CopyFileA); files/s counts "
        "the payload's files. Peak WS is the process's PeakWorkingSetSize: for this "
        "program's own processes as each reads it after its run; for the installers as their "
        "process handle gives it after they end, or, where Wine no longer answers for an ended "
        "process, the last reading while it ran, taken every 10 ms (marked *); n/a: neither "
        "known. The copy run also deletes the packaged copies and writes its install record; "
        "the NSIS installers check the CRC of their data at start (NSIS's default) and write "
        "no uninstaller.\n",
        options.reps, options.reps == 1 ? "" : "s");
}

void PrintFloors(const Measurements& m) {
    std::printf("\n## Start-up floors\n\n| Floor | Whole process s | Peak WS MiB | Subtracted "
                "from |\n|---|---:|---:|---|\n");
    for (const Method& method : Methods()) {
        if (method.part != Part::StartUp)
            continue;
        const Summary s = Summarise(m, method);
        const char* from = method.work == Work::Nothing ? "the copy run" : PeerTitle(method.peer);
        if (s.ok)
            std::printf("| %s | %.3f | %.1f%s | %s |\n", method.title, s.netSeconds, s.peak / kMiB,
                        s.peakSampled ? "*" : "", from);
        else
            std::printf("| %s | %s | | %s |\n", method.title, s.error.c_str(), from);
    }
    std::printf("\nThe generator (the parent process) peaked at %.1f MiB.\n",
                m.generatorPeak / kMiB);
}

void PrintPeerBuilds(const Options& options, const Measurements& m) {
    if (!options.peers)
        return;
    std::printf("\n## Peer installers\n\nBuilt by makensis before the runs, outside all "
                "timing.\n\n| Installer | Size MiB | makensis s |\n|---|---:|---:|\n");
    for (const Peer peer : kPeers) {
        for (const FileSet set :
             {FileSet::None, FileSet::Large, FileSet::Small, FileSet::Folders}) {
            const PeerInstaller& installer = m.peers.Of(peer, set);
            const std::string name = InstallerName(peer, set) + ".exe";
            if (installer.exe.empty())
                std::printf("| %s | %s | |\n", name.c_str(), installer.unavailable.c_str());
            else
                std::printf("| %s | %.1f | %.1f |\n", name.c_str(), installer.bytes / kMiB,
                            installer.buildSeconds);
        }
    }
}

// The shipped installer before any packaged file, beside the peers' empty
// installers: what each kind of installer weighs on its own.
void PrintStubs(const Options& options, const Measurements& m) {
    const ShippedStub& stub = m.stub;
    std::printf("\n## Installer stubs\n\nWhat an installer weighs before its files.\n\n"
                "| Installer stub | Size KiB |\n|---|---:|\n");
    if (stub.setupBytes && stub.zlibBytes)
        std::printf("| Setup.exe + zlib1.dll (this build, as shipped) | %.1f |\n"
                    "| Setup.exe alone | %.1f |\n| zlib1.dll alone | %.1f |\n",
                    (stub.setupBytes + stub.zlibBytes) / 1024.0, stub.setupBytes / 1024.0,
                    stub.zlibBytes / 1024.0);
    else
        std::printf("| Setup.exe + zlib1.dll | not found beside this program |\n");
    if (!options.peers)
        return;
    for (const Peer peer : kPeers) {
        const PeerInstaller& empty = m.peers.Of(peer, FileSet::None);
        const std::string name = InstallerName(peer, FileSet::None) + ".exe";
        if (empty.exe.empty())
            std::printf("| %s | %s |\n", name.c_str(), empty.unavailable.c_str());
        else
            std::printf("| %s | %.1f |\n", name.c_str(), empty.bytes / 1024.0);
    }
}

bool PrintSteps(const Options& options, const Measurements& m) {
    std::printf("\n## (c) Steps of the copy run, each timed alone on the %d small files\n\n",
                options.smallCount);
    std::printf("| Step | Median s | Per file, us |\n|---|---:|---:|\n");
    double sum = 0;
    bool allRan = true;
    for (const Method& method : Methods()) {
        if (method.part != Part::Steps)
            continue;
        const Summary s = Summarise(m, method);
        allRan = allRan && s.ok;
        if (!s.ok) {
            std::printf("| %s | failed: %s | |\n", method.title, s.error.c_str());
            continue;
        }
        sum += s.workSeconds;
        std::printf("| %s | %.3f | %.0f |\n", method.title, s.workSeconds,
                    1e6 * s.workSeconds / options.smallCount);
    }
    const Summary copyRun = Summarise(m, Part::Small, Work::CopyRun);
    const Summary bare = Summarise(m, Part::Small, Work::BareLoop);
    if (allRan && copyRun.ok && bare.ok)
        std::printf("\nSum of the steps: %.3f s; copy run minus bare zlib loop: %.3f s.\n", sum,
                    copyRun.workSeconds - bare.workSeconds);
    return allRan;
}

} // namespace

bool PrintReport(const Options& options, const Measurements& measurements, double totalSeconds) {
    std::printf("# Extraction benchmark\n\n");
    PrintMachine(options, measurements);
    PrintHowToRead(options);
    PrintFloors(measurements);
    PrintPeerBuilds(options, measurements);
    PrintPackageBuilds(measurements.packageBuilds);
    PrintFirstWindows(measurements.firstWindows);
    PrintStubs(options, measurements);
    TargetTally tally;
    bool allRan = true;
    for (const Part part : kPayloadParts)
        allRan = PrintPayloadPart(part, options, measurements, tally) && allRan;
    if (options.breakdown)
        allRan = PrintSteps(options, measurements) && allRan;
    std::printf("\nTargets: %d met, %d not met, %d not measured. Whole run: %.0f s.\n", tally.met,
                tally.notMet, tally.notMeasured, totalSeconds);
    return allRan;
}

} // namespace bench
