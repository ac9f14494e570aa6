#include "peer_builds.h"

#include "bench_support.h"
#include "native_command.h"
#include "nsis_script.h"
#include "payload.h"
#include "test_files.h"

#include <fstream>

namespace bench {

namespace {

// 512 MiB through solid LZMA takes minutes on a slow machine; an hour means
// makensis is stuck.
constexpr int kBuildTimeoutSeconds = 3600;
constexpr int kExitNotFound = 127; // the shell's status for a command it cannot find

constexpr FileSet kInstallerSets[] = {FileSet::None, FileSet::Large, FileSet::Small,
                                      FileSet::Folders};

// The last line of a build log that says anything: makensis ends with its reason.
std::string LastLine(const std::string& path) {
    std::ifstream in(path);
    std::string line, last;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (!line.empty())
            last = line;
    }
    return last;
}

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

} // namespace

void PeerBuilds::Build(const Options& options, const WorkPaths& paths) {
    target = options.nsisTarget;
    if (!options.peers)
        return MarkAll("not measured (--no-peers)");
    MakeFreshDirectory(paths.peers);
    const NativeResult version =
        RunNative(paths.peers, "makensis-version", "makensis -VERSION", 60);
    if (!version.ran)
        return MarkAll("not available: makensis could not be started (" + version.error + ")");
    if (version.exitCode == kExitNotFound)
        return MarkAll("not available: makensis not found (Debian's nsis package)");
    makensisVersion = FirstLine(AppendPath(paths.peers, "makensis-version.log"));
    for (const Peer peer : kPeers) {
        for (const FileSet set : kInstallerSets)
            BuildOne(peer, set, paths);
    }
    RemoveTree(paths.raw); // now inside the installers; the disk may want the room
}

void PeerBuilds::BuildOne(Peer peer, FileSet set, const WorkPaths& paths) {
    PeerInstaller& installer = installers_[Index(peer, set)];
    const std::string name = InstallerName(peer, set);
    Progress("building %s.exe with makensis (%s)...", name.c_str(), NsisTargetName(target));
    WriteFileBytes(AppendPath(paths.peers, name + ".nsi"),
                   NsisScript(peer, set, target, std::string("../raw/") + SetName(set)));
    const Stopwatch watch;
    const NativeResult build =
        RunNative(paths.peers, name, "makensis -V2 " + name + ".nsi", kBuildTimeoutSeconds);
    installer.buildSeconds = watch.Seconds();
    const std::string exe = AppendPath(paths.peers, name + ".exe");
    if (!build.ran) {
        installer.unavailable = "not available: makensis " + build.error;
    } else if (build.exitCode != 0 || !FileExists(exe)) {
        installer.unavailable = "not available: makensis failed (" +
                                LastLine(AppendPath(paths.peers, name + ".log")) + ")";
    } else {
        installer.exe = exe;
        installer.bytes = FileSize(exe);
        Progress("  %.1f MiB in %.1f s", installer.bytes / kMiB, installer.buildSeconds);
        return;
    }
    Progress("  %s", installer.unavailable.c_str());
}

void PeerBuilds::MarkUnrunnable(Peer peer, const std::string& reason) {
    for (const FileSet set : kInstallerSets) {
        PeerInstaller& installer = installers_[Index(peer, set)];
        if (installer.unavailable.empty())
            installer.unavailable = reason;
    }
}

void PeerBuilds::MarkAll(const std::string& reason) {
    for (PeerInstaller& installer : installers_)
        installer.unavailable = reason;
}

} // namespace bench
