#include "installer_runs.h"

#include "bench_support.h"
#include "test_files.h"
#include "timed_process.h"

namespace bench {

namespace {

// A 32-bit installer that a 64-bit Wine cannot start: Wine's loader for
// 32-bit programs is itself 32-bit code, which some kernels refuse to run.
std::string WhyNotStarted(NsisTarget target, const std::string& error) {
#ifdef _WIN64
    if (target == NsisTarget::X86)
        return "not runnable on this host (no 32-bit support): the 32-bit installer did not "
               "start, " +
               error;
#endif
    (void)target;
    return "not runnable on this host: " + error;
}

void CheckInstalled(const std::vector<PlannedFile>& files, const WorkPaths& paths,
                    RunResult& result) {
    uint64_t planned = 0;
    for (const PlannedFile& file : files)
        planned += file.size;
    result.bytes = InstalledBytes(paths.install, files);
    if (result.bytes != planned)
        result.error = "installed " + std::to_string(result.bytes) + " bytes, expected " +
                       std::to_string(planned);
}

} // namespace

RunResult RunInstaller(const Method& method, const Options& options, const WorkPaths& paths,
                       const PeerInstaller& installer, NsisTarget target) {
    RunResult result;
    if (!installer.unavailable.empty()) {
        result.unavailable = true;
        result.error = installer.unavailable;
        return result;
    }
    const std::vector<PlannedFile> files = FilesOf(method.files, options);
    result.files = files.size();
    MakeFreshDirectory(paths.install);
    const ProcessRun run =
        RunTimedProcess(installer.exe, "\"" + installer.exe + "\" /S /D=" + paths.install);
    if (!run.started) {
        result.unavailable = true;
        result.error = WhyNotStarted(target, run.error);
    } else if (run.exitCode != 0) {
        result.error = "the installer ended with code " + std::to_string(run.exitCode);
    } else {
        CheckInstalled(files, paths, result);
    }
    result.processSeconds = run.seconds;
    result.peakSeenByParent = run.peakAfterExit;
    result.peakSampled = run.peakWhileRunning;
    result.ok = run.started && result.error.empty();
    RemoveTree(paths.install);
    return result;
}

} // namespace bench
