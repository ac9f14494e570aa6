// The report's table for one payload, (a), (b) or (b2), and its comparisons
// with their targets. Internal to the report.
#pragma once

#include "report.h"

namespace bench {

// How the targets came out, over all parts.
struct TargetTally {
    int met = 0, notMet = 0, notMeasured = 0;
};

// Returns false when a method of the part failed.
bool PrintPayloadPart(Part part, const Options& options, const Measurements& measurements,
                      TargetTally& tally);

} // namespace bench
