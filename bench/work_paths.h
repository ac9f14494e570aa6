// The work directory under %TEMP% and what lies in it. The parent passes the
// work directory to each child, which finds the rest from it.
#pragma once

#include "path_helpers.h"

#include <string>

namespace bench {

struct WorkPaths {
    explicit WorkPaths(const std::string& work)
        : work(work), packages(AppendPath(work, "packages")), raw(AppendPath(work, "raw")),
          peers(AppendPath(work, "peers")), source(AppendPath(work, "source")),
          install(AppendPath(work, "install")), result(AppendPath(work, "result.txt")) {}

    std::string work;
    std::string packages; // generated once, never touched by a run
    std::string raw;      // the same files as installed, which the peer installers are built from
    std::string peers;    // the peers' scripts, installers and build logs
    std::string source;   // a fresh copy of the packaged files for each run
    std::string install;  // the run's target directory
    std::string result;   // what the child leaves for the parent
};

} // namespace bench
