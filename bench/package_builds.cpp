#include "package_builds.h"

#include "bench_support.h"
#include "native_command.h"
#include "payload.h"
#include "test_files.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace bench {
namespace {

constexpr int kBuildTimeoutSeconds = 1800;

// The bytes of every file below `directory`.
uint64_t TreeBytes(const std::string& directory) {
    uint64_t total = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(AppendPath(directory, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            total += TreeBytes(AppendPath(directory, name));
        else
            total += static_cast<uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return total;
}

// One packsetup run of `input` (a Linux path, or relative to the peers'
// folder; empty for the sample) into a fresh folder; false when it failed.
bool PackOnce(const WorkPaths& paths, const std::string& packsetup, const std::string& input,
              const std::string& name, bool best, uint64_t& bytes, double& seconds) {
    const std::string out = name + (best ? "-best" : "-zlib9");
    RemoveTree(AppendPath(paths.peers, out));
    const std::string options = std::string("--quiet ") + (best ? "--best " : "");
    const std::string command =
        input.empty() ? SamplePackageCommand(SourceTreeUnixPath(), packsetup, options, out)
                      : packsetup + " " + options + "--out " + out +
                            " --app-exe app.exe --folder-name Bench " + input;
    const Stopwatch watch;
    const NativeResult run = RunNative(paths.peers, out, command, kBuildTimeoutSeconds);
    seconds = watch.Seconds();
    bytes = TreeBytes(AppendPath(paths.peers, out));
    RemoveTree(AppendPath(paths.peers, out));
    return run.ran && run.exitCode == 0;
}

PackageBuild MeasureOne(const WorkPaths& paths, const std::string& packsetup,
                        const std::string& input, const std::string& name) {
    PackageBuild build;
    build.name = name;
    Progress("packaging %s with packsetup, zlib level 9 and --best...", name.c_str());
    if (!PackOnce(paths, packsetup, input, name, false, build.zlibBytes, build.zlibSeconds) ||
        !PackOnce(paths, packsetup, input, name, true, build.bestBytes, build.bestSeconds))
        build.unavailable = "packsetup failed (see " + name + "-*.log)";
    return build;
}

} // namespace

std::string SamplePackageCommand(const std::string& tree, const std::string& packsetup,
                                 const std::string& options, const std::string& out) {
    const std::string input = out + "-input";
    return "rm -rf " + input + " && mkdir " + input + " && cp " + tree +
           "/build/win32/sample/KestrelNotes.exe " + tree + "/sample/AppIcon.ico " + tree +
           "/sample/ReadMe.txt " + input + "/ && " + packsetup + " " + options + "--out " + out +
           " --app-exe KestrelNotes.exe --folder-name Kestrel --license " + tree +
           "/sample/License.txt --url " + tree + "/sample/URL.txt --setup-exe " + tree +
           "/build/win32/bin/Setup.exe --zlib " + tree + "/build/win32/bin/zlib1.dll " + input;
}

std::string SourceTreeUnixPath() {
    std::string own = OwnDirectory(); // Z:\<tree>\build\<name>\bin
    if (own.size() < 3 || (own[0] != 'Z' && own[0] != 'z') || own[1] != ':')
        return "";
    own = own.substr(2);
    for (char& c : own)
        if (c == '\\')
            c = '/';
    for (int up = 0; up < 3; ++up) {
        const size_t slash = own.find_last_of('/');
        if (slash == std::string::npos)
            return "";
        own.resize(slash);
    }
    return own;
}

std::vector<PackageBuild> MeasurePackageBuilds(const WorkPaths& paths) {
    const std::string tree = SourceTreeUnixPath();
    const char* given = std::getenv("BENCH_PACKSETUP");
    const std::string packsetup = given && *given ? given
                                  : tree.empty()  ? ""
                                                  : tree + "/build/native/tools/packsetup";
    std::vector<PackageBuild> builds;
    if (packsetup.empty())
        return builds;
    MakeFreshDirectory(paths.peers);
    for (const FileSet set : kPayloadSets)
        builds.push_back(
            MeasureOne(paths, packsetup, std::string("../raw/") + SetName(set), SetName(set)));
    if (!tree.empty())
        builds.push_back(MeasureOne(paths, packsetup, "", "sample"));
    return builds;
}

void PrintPackageBuilds(const std::vector<PackageBuild>& builds) {
    if (builds.empty())
        return;
    std::printf("\n## Package sizes\n\nThe native packsetup (`build/native`), every file "
                "compressed, outside all timing: zlib level 9 (the default) against `--best` "
                "(libdeflate level 12). Sizes are the whole setup directory.\n\n"
                "| Package | zlib 9 MiB | zlib 9 build s | --best MiB | --best build s | "
                "--best smaller by |\n|---|---:|---:|---:|---:|---:|\n");
    for (const PackageBuild& build : builds) {
        if (!build.unavailable.empty()) {
            std::printf("| %s | %s |  |  |  |  |\n", build.name.c_str(), build.unavailable.c_str());
            continue;
        }
        std::printf("| %s | %.2f | %.1f | %.2f | %.1f | %.2f %% |\n", build.name.c_str(),
                    build.zlibBytes / kMiB, build.zlibSeconds, build.bestBytes / kMiB,
                    build.bestSeconds,
                    100.0 * (1.0 - static_cast<double>(build.bestBytes) / build.zlibBytes));
    }
}

} // namespace bench
