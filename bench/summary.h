// The runs of one method reduced to the figures the report shows: median
// times, the whole process less its start-up floor, and the peak working set.
#pragma once

#include "report.h"

namespace bench {

struct Summary {
    bool ok = false;
    bool unavailable = false; // a peer that cannot run here; `error` says why
    std::string error;
    double workSeconds = 0;    // median of the work timed inside the process
    double processSeconds = 0; // median of the whole process
    // Median of the whole process less the child's own checks, less the
    // median of its floor (FloorOf); valid when hasNet.
    double netSeconds = 0;
    bool hasNet = false;
    uint64_t bytes = 0, files = 0;
    uint64_t peak = 0;        // 0: nobody could tell
    bool peakSampled = false; // known only from readings taken while it ran
};

// The floor row whose whole process is subtracted from `method`'s: the empty
// installer of the same peer for an installer, else this program doing nothing.
const Method& FloorOf(const Method& method);

Summary Summarise(const Measurements& measurements, const Method& method);
Summary Summarise(const Measurements& measurements, Part part, Work work, Peer peer = Peer::None);

// Throughput of the summary's bytes or files over `seconds`.
double MegabytesPerSecond(const Summary& s, double seconds);
double FilesPerSecond(const Summary& s, double seconds);

} // namespace bench
