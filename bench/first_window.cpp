#include "first_window.h"

#include "bench_support.h"
#include "native_command.h"
#include "package_builds.h"
#include "test_files.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace bench {
namespace {

constexpr DWORD kWindowTimeoutMs = 60000;

struct Search {
    DWORD process;
    bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.process && ::IsWindowVisible(window)) {
        search.found = true;
        return FALSE;
    }
    return TRUE;
}

// Seconds from starting `exe` in its own folder to its first window drawn;
// negative when it showed none in time.
double TimeToFirstWindow(const std::string& exe) {
    const std::string directory = exe.substr(0, exe.find_last_of('\\'));
    std::string command = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const Stopwatch watch;
    if (!::CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                          directory.c_str(), &startup, &process))
        return -1;
    double seconds = -1;
    for (;;) {
        Search search = {process.dwProcessId, false};
        ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            // The page is drawn once the program has nothing left to do but wait.
            ::WaitForInputIdle(process.hProcess, kWindowTimeoutMs);
            seconds = watch.Seconds();
            break;
        }
        if (watch.Seconds() * 1000 > kWindowTimeoutMs ||
            ::WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, kWindowTimeoutMs);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return seconds;
}

// A setup directory of the sample with this build's Setup.exe, made by the
// native packsetup; its Setup.exe, or "" when it could not be made.
std::string SamplePackage(const WorkPaths& paths) {
    const std::string tree = SourceTreeUnixPath();
    if (tree.empty())
        return "";
    const NativeResult run =
        RunNative(paths.peers, "first-window-package",
                  SamplePackageCommand(tree, tree + "/build/native/tools/packsetup", "--quiet ",
                                       "first-window"),
                  600);
    const std::string exe = AppendPath(paths.peers, "first-window\\Setup.exe");
    return run.ran && run.exitCode == 0 && FileExists(exe) ? exe : "";
}

void PrintRow(const char* name, std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    std::printf("| %s | %.3f | %.3f to %.3f | %zu |\n", name, seconds[seconds.size() / 2],
                seconds.front(), seconds.back(), seconds.size());
}

} // namespace

FirstWindowTimes MeasureFirstWindows(const Options& options, const WorkPaths& paths,
                                     const PeerBuilds& peers) {
    FirstWindowTimes times;
    const std::string nsis = peers.Of(Peer::NsisZlib, FileSet::None).exe;
    const std::string setup = SamplePackage(paths);
    if (nsis.empty() || setup.empty() || SourceTreeUnixPath().empty()) {
        times.unavailable = nsis.empty() ? "no NSIS installer" : "no package of the sample";
        return times;
    }
    Progress("timing the first window of Setup.exe and of NSIS...");
    TimeToFirstWindow(setup); // each kind's first start reads its files from disk
    TimeToFirstWindow(nsis);
    for (int rep = 0; rep < std::max(options.reps, 5); ++rep) {
        times.setup.push_back(TimeToFirstWindow(setup));
        times.nsis.push_back(TimeToFirstWindow(nsis));
    }
    const auto failed = [](double s) { return s < 0; };
    if (std::any_of(times.setup.begin(), times.setup.end(), failed) ||
        std::any_of(times.nsis.begin(), times.nsis.end(), failed))
        times.unavailable = "a window did not show within a minute";
    return times;
}

void PrintFirstWindows(const FirstWindowTimes& times) {
    if (times.setup.empty() && times.unavailable.empty())
        return; // not run (--no-peers)
    std::printf("\n## First window\n\nFrom CreateProcess to the first visible window, once the "
                "program waits for input (its first page drawn); one run of each thrown away "
                "first, then interleaved runs.\n\n");
    if (!times.unavailable.empty()) {
        std::printf("Not measured: %s.\n", times.unavailable.c_str());
        return;
    }
    std::printf("| Program | Median s | Spread s | Runs |\n|---|---:|---|---:|\n");
    PrintRow("Setup.exe (the sample's package, License Agreement page)", times.setup);
    PrintRow("NSIS installer, zlib, empty (its first page)", times.nsis);
}

} // namespace bench
