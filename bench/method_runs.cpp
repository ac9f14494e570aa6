#include "method_runs.h"

#include "bare_loop.h"
#include "bench_support.h"
#include "inflate_alone.h"
#include "install_prompts.h"
#include "known_directories.h"
#include "package_stream.h"
#include "path_helpers.h"
#include "record_item.h"
#include "extract.h"
#include "install_transaction.h"
#include "test_files.h"
#include "zlib_stream.h"

namespace bench {

namespace {

constexpr const char* kRecordName = "SetupInfo.dat";

std::string SourceOf(const WorkInput& input, const PlannedFile& file) {
    return AppendPath(input.paths.source, file.package);
}

std::string TargetOf(const WorkInput& input, const PlannedFile& file) {
    return AppendPath(input.paths.install, file.name);
}

uint64_t PlannedBytes(const WorkInput& input) {
    uint64_t total = 0;
    for (const PlannedFile& file : input.files)
        total += file.size;
    return total;
}

// The size of the packaged copies in the source directory now.
uint64_t SourceBytes(const WorkInput& input) {
    uint64_t total = 0;
    for (const PlannedFile& file : input.files)
        total += FileSize(SourceOf(input, file));
    return total;
}

// Creates the target's folder unless it is that of the file before: the
// baselines make each folder once, as the files come folder by folder.
void MakeFolderOf(const WorkInput& input, const PlannedFile& file, std::string& lastFolder) {
    const size_t slash = file.name.rfind('\\');
    if (slash == std::string::npos)
        return;
    const std::string folder = AppendPath(input.paths.install, file.name.substr(0, slash));
    if (folder != lastFolder && !::CreateDirectoryA(folder.c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
        Die("cannot create %s (error %lu)", folder.c_str(), ::GetLastError());
    lastFolder = folder;
}

void ExpectBytes(RunResult& result, uint64_t expected) {
    if (result.bytes != expected)
        result.error = "produced " + std::to_string(result.bytes) + " bytes, expected " +
                       std::to_string(expected);
}

void ExpectCount(RunResult& result, size_t done, const char* what) {
    if (done != result.files)
        result.error = std::string(what) + " failed for " + std::to_string(result.files - done) +
                       " of " + std::to_string(result.files) + " files";
}

// A file in use ends the measured run rather than waiting for a person.
class NoRetries : public InstallPrompts {
public:
    bool RetryFileInUse(const std::string&, bool) override { return false; }
};

void CopyRun(const WorkInput& input, RunResult& result) {
    Package package;
    for (const PlannedFile& file : input.files)
        package.entries.push_back({file.name, file.compressed});
    InstallTransaction run(package, input.paths.source, input.paths.install, nullptr);
    NoRetries prompts;
    Stopwatch watch;
    // As an installation does: the journal kept from the start, the files,
    // the record, then the package cleared away and the journal ended.
    Problem problem = run.KeepJournal("Kestrel Benchmark");
    if (!problem)
        problem = InstallFiles(run, kRecordName, prompts);
    if (!problem)
        problem = run.Commit();
    if (!problem) {
        run.replaced.DiscardOldFiles();
        ClearPackagedCopies(run);
        run.Finish();
    }
    result.seconds = watch.Seconds();
    if (problem)
        result.error = "InstallFiles failed at " + problem.path;
}

void CopyFiles(const WorkInput& input, RunResult& result) {
    std::string folder;
    Stopwatch watch;
    for (const PlannedFile& file : input.files) {
        MakeFolderOf(input, file, folder);
        if (!::CopyFileA(SourceOf(input, file).c_str(), TargetOf(input, file).c_str(), FALSE)) {
            result.error = "CopyFileA " + file.name + " failed (error " +
                           std::to_string(::GetLastError()) + ")";
            return;
        }
    }
    result.seconds = watch.Seconds();
}

void RunBareLoop(const WorkInput& input, RunResult& result) {
    std::string folder;
    Stopwatch watch;
    BareLoop bare;
    for (const PlannedFile& file : input.files) {
        MakeFolderOf(input, file, folder);
        const std::string from = SourceOf(input, file), to = TargetOf(input, file);
        result.bytes += file.compressed ? bare.Inflate(from, to) : bare.Copy(from, to);
    }
    result.seconds = watch.Seconds();
}

// The copy run's first step for every file: the target's directory, made or
// found through the run's cache, which probes each directory once.
void EnsureDirectories(const WorkInput& input, RunResult& result) {
    size_t usable = 0;
    KnownDirectories directories;
    std::vector<std::string> created;
    Stopwatch watch;
    for (const PlannedFile& file : input.files)
        usable += directories.Ensure(ExtractDirectory(TargetOf(input, file)), created) ? 1 : 0;
    result.seconds = watch.Seconds();
    ExpectCount(result, usable, "KnownDirectories::Ensure");
}

// The copy run's reading side alone: the read-ahead stream reads and inflates
// the whole package into its chunks, and nothing is written.
void StreamPackage(const WorkInput& input, RunResult& result) {
    std::vector<PackagedSource> sources;
    for (const PlannedFile& file : input.files)
        sources.push_back({SourceOf(input, file), file.compressed});
    Stopwatch watch;
    PackageStream stream(sources);
    while (const Chunk* chunk = stream.Next())
        result.bytes += chunk->used;
    result.seconds = watch.Seconds();
}

// InstallFiles' last step: deleting the packaged copies.
void DeletePackage(const WorkInput& input, RunResult& result) {
    size_t deleted = 0;
    Stopwatch watch;
    for (const PlannedFile& file : input.files)
        deleted += ::DeleteFileA(SourceOf(input, file).c_str()) ? 1 : 0;
    result.seconds = watch.Seconds();
    ExpectCount(result, deleted, "DeleteFileA");
}

void WriteRecord(const WorkInput& input, RunResult& result) {
    const Package package;
    InstallTransaction run(package, input.paths.source, input.paths.install, nullptr);
    for (const PlannedFile& file : input.files)
        run.Record(setupcore::RecordItem::ForPath(TargetOf(input, file), setupcore::NoLeadBytes));
    run.Commit();
    Stopwatch watch;
    const Problem problem = run.WriteRecord(kRecordName);
    result.seconds = watch.Seconds();
    if (problem || FileSize(AppendPath(input.paths.install, kRecordName)) == 0)
        result.error = "WriteInstallRecord wrote no record";
}

void InflateInMemory(const WorkInput& input, bool threadPerFile, RunResult& result) {
    std::vector<std::string> packaged;
    for (const PlannedFile& file : input.files)
        packaged.push_back(SourceOf(input, file));
    const InflateAloneResult inflated = InflateAlone(packaged, threadPerFile);
    result.seconds = inflated.seconds;
    result.bytes = inflated.bytes;
    result.error = inflated.error;
}

void RunWork(Work work, const WorkInput& input, RunResult& result) {
    switch (work) {
    case Work::Nothing:
        return;
    case Work::Installer:
        Die("a peer's installer runs as its own program, not in this one");
    case Work::CopyRun:
        return CopyRun(input, result);
    case Work::CopyFileA:
        return CopyFiles(input, result);
    case Work::BareLoop:
        return RunBareLoop(input, result);
    case Work::TargetDirectories:
        return EnsureDirectories(input, result);
    case Work::ReadAhead:
        return StreamPackage(input, result);
    case Work::PackageDeletion:
        return DeletePackage(input, result);
    case Work::InstallRecord:
        return WriteRecord(input, result);
    case Work::InflateOneThread:
        return InflateInMemory(input, false, result);
    case Work::InflateSideBySide:
        return InflateInMemory(input, true, result);
    }
}

// What a run of `work` must have produced, for the checks after it.
void CheckProduct(Work work, const WorkInput& input, RunResult& result) {
    switch (work) {
    case Work::CopyRun:
        result.bytes = InstalledBytes(input.paths.install, input.files);
        return ExpectBytes(result, PlannedBytes(input));
    case Work::CopyFileA:
        result.bytes = InstalledBytes(input.paths.install, input.files);
        return ExpectBytes(result, SourceBytes(input));
    case Work::BareLoop:
    case Work::ReadAhead:
    case Work::InflateOneThread:
    case Work::InflateSideBySide:
        return ExpectBytes(result, PlannedBytes(input));
    default:
        return; // the steps count their own calls; Nothing has nothing to show
    }
}

void CheckPackageLeft(const Method& method, const WorkInput& input, RunResult& result) {
    if (!method.readsPackage || !result.error.empty())
        return;
    for (const PlannedFile& file : input.files) {
        if (FileExists(SourceOf(input, file)) == method.deletesPackage) {
            result.error = SourceOf(input, file) +
                           (method.deletesPackage ? " was not deleted" : " was deleted");
            return;
        }
    }
}

} // namespace

void DoWork(const Method& method, const WorkInput& input, RunResult& result) {
    result.files = input.files.size();
    RunWork(method.work, input, result);
    const Stopwatch checks;
    if (result.error.empty())
        CheckProduct(method.work, input, result);
    CheckPackageLeft(method, input, result);
    result.checkSeconds = checks.Seconds();
    result.ok = result.error.empty();
}

uint64_t InstalledBytes(const std::string& directory, const std::vector<PlannedFile>& files) {
    uint64_t total = 0;
    for (const PlannedFile& file : files)
        total += FileSize(AppendPath(directory, file.name));
    return total;
}

} // namespace bench
