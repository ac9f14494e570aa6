// The report: Markdown on stdout. The machine, the start-up floors, then a
// table per payload with each method's MB/s, files/s and peak working set,
// and the comparisons with their targets.
#pragma once

#include "machine_info.h"
#include "method_runs.h"
#include "options.h"
#include "first_window.h"
#include "package_builds.h"
#include "peer_builds.h"
#include "shipped_stub.h"

namespace bench {

// Everything the report reads: the machine, the generated data, the peers'
// installers and every run's result.
struct Measurements {
    MachineInfo machine;
    PayloadFacts payload;
    PeerBuilds peers;
    ShippedStub stub;
    std::vector<PackageBuild> packageBuilds;
    FirstWindowTimes firstWindows;
    uint64_t generatorPeak = 0; // the parent's own peak working set, after generating
    // The runs of each method, by its place in Methods().
    std::vector<std::vector<RunResult>> runs =
        std::vector<std::vector<RunResult>>(Methods().size());

    const std::vector<RunResult>& Of(const Method& method) const { return runs[IndexOf(method)]; }
};

// Returns false when a run failed (its row says why); a peer that cannot run
// on this host is no failure.
bool PrintReport(const Options& options, const Measurements& measurements, double totalSeconds);

} // namespace bench
