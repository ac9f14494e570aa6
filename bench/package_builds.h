// What --best buys: each payload, and the sample application, packaged by the
// native packsetup twice, with zlib's level 9 and with --best, timed and
// weighed. Run before the peers are built, while the installed copies of the
// payloads lie in the work directory; outside all other timing.
#pragma once

#include "work_paths.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct PackageBuild {
    std::string name;       // the payload or "sample"
    uint64_t zlibBytes = 0; // the setup directory's files, zlib level 9
    double zlibSeconds = 0; // packsetup's whole run
    uint64_t bestBytes = 0; // the same with --best
    double bestSeconds = 0;
    std::string unavailable; // why there are no figures
};

// The source tree's folder as a Linux path, from this program's place in
// <tree>/build/<name>/bin under Wine's Z: drive; empty when it is elsewhere.
std::string SourceTreeUnixPath();

// The shell command that lays out the sample's files in `input` (a folder of
// the peers' directory) and packages them with `options` into `out`, as the
// demo does: its program, icon and read-me, with its license and URL.
std::string SamplePackageCommand(const std::string& tree, const std::string& packsetup,
                                 const std::string& options, const std::string& out);

std::vector<PackageBuild> MeasurePackageBuilds(const WorkPaths& paths);

void PrintPackageBuilds(const std::vector<PackageBuild>& builds);

} // namespace bench
