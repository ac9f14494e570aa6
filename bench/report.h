// The report: Markdown tables on stdout, one per part, each method a row with
// the median of its runs.
#pragma once

#include "method_runs.h"
#include "options.h"

namespace bench {

// Everything the report reads: the generated data and every run's result.
struct Measurements {
    PayloadFacts payload;
    uint64_t generatorPeak = 0; // the parent's own peak working set, after generating
    // The runs of each method, by its place in Methods().
    std::vector<std::vector<RunResult>> runs =
        std::vector<std::vector<RunResult>>(Methods().size());

    const std::vector<RunResult>& Of(const Method& method) const { return runs[IndexOf(method)]; }
};

// Returns false when a run failed (its row says why).
bool PrintReport(const Options& options, const Measurements& measurements, double totalSeconds);

} // namespace bench
