// The copy run: obsolete files out, every packaged file copied or inflated
// into the install directory, the result recorded, the package cleared away.
#include "extract.h"

#include "install_transaction.h"

#include "ansi_text.h"
#include "copy_progress.h"
#include "copy_run.h"
#include "packaged_source.h"
#include "path_helpers.h"
#include "reboot_delete.h"
#include "record_item.h"
#include "unique_handle.h"

#include <memory>
#include <new>
#include <unordered_map>
#include <unordered_set>

namespace {

// Starts the progress with the run and ends it with the run, however it ends.
class ProgressScope {
public:
    ProgressScope(CopyProgress* progress, uint64_t totalBytes) : progress_(progress) {
        if (progress_)
            progress_->Start(totalBytes);
    }
    ~ProgressScope() {
        if (progress_)
            progress_->End();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    CopyProgress* progress_;
};

std::string Folded(std::string name) {
    ::CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
    return name;
}

// The sizes of the files in `directory`, by their names in upper case.
std::unordered_map<std::string, uint64_t> FileSizes(const std::string& directory) {
    std::unordered_map<std::string, uint64_t> sizes;
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(AppendPath(directory, "*").c_str(), &found));
    if (search) {
        do
            sizes[Folded(found.cFileName)] =
                (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        while (::FindNextFileA(search.get(), &found));
    }
    return sizes;
}

// The packaged files' sizes from one listing of each directory they lie in
// rather than a query a file: the bar needs the total before the first byte
// is read. Flat files lie in `directory`, nested ones in folders below it.
uint64_t PackagedBytes(const std::string& directory, const std::vector<PackagedSource>& sources) {
    std::unordered_map<std::string, std::unordered_map<std::string, uint64_t>> listings;
    uint64_t total = 0;
    for (const PackagedSource& source : sources) {
        const std::string folder = source.nested ? ExtractDirectory(source.path) : directory;
        auto listing = listings.find(Folded(folder));
        if (listing == listings.end())
            listing = listings.emplace(Folded(folder), FileSizes(folder)).first;
        const auto size = listing->second.find(Folded(ExtractFileName(source.path, true)));
        if (size != listing->second.end())
            total += size->second;
    }
    return total;
}

void RemovePackagedCopies(const std::string& directory,
                          const std::vector<PackagedSource>& sources) {
    for (const PackagedSource& source : sources) {
        // A folder swapped for a link since the file was read leads elsewhere.
        if (!source.nested || NestedSourceStillBelow(directory, source.path))
            DeleteFileNowOrAtRestart(
                source.path); // zlib1.dll, for one, is held by this very program
    }
}

} // namespace

namespace {

// What the copy run is about to do, found with one listing of each directory
// its targets lie in rather than a query a file.
class CopyRunAnnouncement {
public:
    explicit CopyRunAnnouncement(const std::string& installDir) : installDir_(installDir) {}

    void Obsolete(const std::string& path) {
        if (Stands(path))
            Add(setupcore::StepKind::ReplacedFile, path);
    }
    void Target(const std::string& path) {
        Directories(ExtractDirectory(path));
        Add(Stands(path) ? setupcore::StepKind::ReplacedFile : setupcore::StepKind::NewFile, path);
    }
    const std::vector<setupcore::JournalStep>& Steps() const { return steps_; }

private:
    void Add(setupcore::StepKind kind, const std::string& path) {
        setupcore::JournalStep step;
        step.kind = kind;
        step.path = path;
        steps_.push_back(step);
    }
    // The directories on the way to `directory` that do not stand yet, outermost first.
    void Directories(const std::string& directory) {
        std::vector<std::string> missing;
        for (std::string at = directory; at.size() > installDir_.size();) {
            if (!announced_.insert(Folded(at)).second || IsExistingDirectory(at))
                break;
            missing.push_back(at);
            at = ExtractDirectory(at);
        }
        for (auto at = missing.rbegin(); at != missing.rend(); ++at)
            Add(setupcore::StepKind::Directory, *at);
    }
    bool Stands(const std::string& path) {
        const std::string folder = Folded(ExtractDirectory(path));
        auto listing = listings_.find(folder);
        if (listing == listings_.end())
            listing = listings_.emplace(folder, FileSizes(ExtractDirectory(path))).first;
        return listing->second.count(Folded(ExtractFileName(path, true))) != 0;
    }

    const std::string& installDir_;
    std::vector<setupcore::JournalStep> steps_;
    std::unordered_set<std::string> announced_;
    std::unordered_map<std::string, std::unordered_map<std::string, uint64_t>> listings_;
};

Problem AnnounceCopyRun(InstallTransaction& run) {
    CopyRunAnnouncement announcement(run.installDir);
    for (const std::string& name : run.package.obsoleteNames)
        announcement.Obsolete(AppendPath(run.installDir, name));
    for (const PackageEntry& entry : run.package.entries) {
        std::string path = AppendPath(run.installDir, entry.name), unknownToken;
        if (ExpandTargetPath(path, unknownToken) != TargetPlace::UnknownToken)
            announcement.Target(path);
    }
    return run.Announce(announcement.Steps());
}

std::vector<PackagedSource> PackagedSources(const InstallTransaction& run) {
    std::vector<PackagedSource> sources;
    for (const PackageEntry& entry : run.package.entries)
        sources.push_back(LocatePackagedSource(run.sourceDir, entry.name, entry.compressed));
    return sources;
}

Problem CopyPackage(InstallTransaction& run, const std::vector<PackagedSource>& sources,
                    InstallPrompts& prompts, CopyProgress* progress) {
    if (sources.empty())
        return Problem();
    std::unique_ptr<CopyRun> copy;
    try {
        copy = std::make_unique<CopyRun>(run, sources, prompts, progress);
    } catch (const std::bad_alloc&) {
        return Problem::Of(ProblemKind::NoMemory);
    }
    for (size_t i = 0; i < sources.size(); ++i) {
        if (Problem problem = copy->ExtractFile(i))
            return problem;
        // A file may still be in the works: an earlier problem of its own goes first.
        if (Problem problem =
                run.Record(setupcore::RecordItem::ForPath(run.targets[i], IsAnsiLeadByte)))
            return copy->Finish(problem);
    }
    return copy->Finish();
}

} // namespace

Problem InstallFiles(InstallTransaction& run, const std::string& recordFileName,
                     InstallPrompts& prompts, CopyProgress* progress) {
    run.sources = PackagedSources(run);
    run.targets.assign(run.sources.size(), std::string());
    const uint64_t totalBytes = progress ? PackagedBytes(run.sourceDir, run.sources) : 0;
    ProgressScope shown(progress, totalBytes);
    if (Problem problem = AnnounceCopyRun(run))
        return problem;

    for (const std::string& name : run.package.obsoleteNames) {
        const std::string obsolete = AppendPath(run.installDir, name);
        // Through a link, the name would reach a file outside the install
        // directory: the run stops as it does for such a target.
        if (LinkOnTheWay(run.installDir, obsolete))
            return Problem::Of(ProblemKind::CannotCreateFile, obsolete);
        run.replaced.SetAside(obsolete);
    }
    if (Problem problem = CopyPackage(run, run.sources, prompts, progress))
        return problem;
    // Only now, with every new file whole, do the old ones make way.
    if (Problem problem = run.replaced.Commit())
        return problem;
    // The files and their record stand: an uninstallation can take them away.
    return run.WriteRecord(recordFileName);
}

void ClearPackagedCopies(const InstallTransaction& run) {
    RemovePackagedCopies(run.sourceDir, run.sources);
}
