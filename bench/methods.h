// The measured methods, one row each: what runs, on which files, and what the
// parent lays out for it. Every run of a row is a fresh process: this program
// again (extract_bench --run <name>), or a peer's installer; the report takes
// its rows from here too.
#pragma once

#include "payload.h"

#include <string>
#include <vector>

namespace bench {

// Where a row appears: the start-up floors, part (a), part (b), part (b2), and
// part (c), which only --breakdown runs, interleaved with part (b).
enum class Part { StartUp, Large, Small, Folders, Steps };
constexpr Part kPayloadParts[] = {Part::Large, Part::Small, Part::Folders};

enum class Work {
    Nothing,           // the floor: what a process of this program takes anyway
    CopyRun,           // InstallFiles
    CopyFileA,         // the raw disk copy of the packaged files
    BareLoop,          // see bare_loop.h
    Installer,         // a peer's installer, run whole (installer_runs.h)
    TargetDirectories, // the copy run's directory cache, for each file
    ReadAhead,         // the copy run's read-ahead stream, reading and inflating alone
    PackageDeletion,   // the copy run's deletion of the packaged copies
    InstallRecord,     // the copy run's WriteInstallRecord
    InflateOneThread,  // inflate_alone.h: file after file, in memory
    InflateSideBySide, // inflate_alone.h: a thread a file, in memory
};

// The installers other programs make of the same files (peer_builds.h).
enum class Peer { None, NsisZlib, NsisLzma };
constexpr Peer kPeers[] = {Peer::NsisZlib, Peer::NsisLzma};

struct Method {
    const char* name;  // on the child's command line
    const char* title; // in the report
    Part part;
    Work work;
    FileSet files;
    // The parent copies the packaged files into the source directory before
    // each run, outside the timing.
    bool readsPackage;
    // The run clears the packaged copies away; the child checks that it did,
    // and that a method that must not delete them left them.
    bool deletesPackage;
    Peer peer = Peer::None; // whose installer a Work::Installer row runs
};

const std::vector<Method>& Methods();
// Null for a name no row has.
const Method* FindMethod(const std::string& name);
// The row of `work` (and `peer`) in `part`; dies when there is none.
const Method& FindMethod(Part part, Work work, Peer peer = Peer::None);
size_t IndexOf(const Method& method);
// The part whose rows install `set`.
Part PartOf(FileSet set);
// The peer's name in the report, e.g. "NSIS zlib".
const char* PeerTitle(Peer peer);

} // namespace bench
