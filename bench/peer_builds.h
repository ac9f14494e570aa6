// The peers' installers, built once from the payload's installed files before
// any run and outside all timing: for each peer an empty installer (its
// start-up floor) and one per payload set. makensis runs as a Linux program
// (native_command.h); an installer it could not make, or one that cannot run
// on this host, keeps the reason, which its rows then show instead of figures.
#pragma once

#include "methods.h"
#include "options.h"
#include "work_paths.h"

#include <cstdint>
#include <string>

namespace bench {

struct PeerInstaller {
    std::string exe;         // its Windows path; empty when there is none
    std::string unavailable; // why its rows have no figures; empty when it runs
    uint64_t bytes = 0;      // the installer's size
    double buildSeconds = 0; // makensis's time, outside the measurements
};

class PeerBuilds {
public:
    // Writes the scripts and runs makensis for every installer, then removes
    // the installed files it read. With --no-peers it builds nothing.
    void Build(const Options& options, const WorkPaths& paths);

    const PeerInstaller& Of(Peer peer, FileSet set) const { return installers_[Index(peer, set)]; }
    // Gives every installer of `peer` that reason, when its empty one cannot run here.
    void MarkUnrunnable(Peer peer, const std::string& reason);

    std::string makensisVersion; // as `makensis -VERSION` says it; empty when unknown
    NsisTarget target = NsisTarget::X86;

private:
    static int Index(Peer peer, FileSet set) {
        return (peer == Peer::NsisLzma ? 4 : 0) + static_cast<int>(set);
    }
    void BuildOne(Peer peer, FileSet set, const WorkPaths& paths);
    void MarkAll(const std::string& reason);

    PeerInstaller installers_[8];
};

} // namespace bench
