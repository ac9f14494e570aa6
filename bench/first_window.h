// How soon each installer shows the user something: from CreateProcess to its
// first visible window with the first page drawn (the process then waits for
// input), for Setup.exe on a package of the sample and for NSIS's empty zlib
// installer, run interleaved, each ended as soon as its window stands.
#pragma once

#include "options.h"
#include "peer_builds.h"
#include "work_paths.h"

#include <string>
#include <vector>

namespace bench {

struct FirstWindowTimes {
    std::vector<double> setup; // seconds, one a run
    std::vector<double> nsis;
    std::string unavailable; // why there are no figures
};

FirstWindowTimes MeasureFirstWindows(const Options& options, const WorkPaths& paths,
                                     const PeerBuilds& peers);

void PrintFirstWindows(const FirstWindowTimes& times);

} // namespace bench
