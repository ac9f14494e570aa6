// The copy run: obsolete files out, every packaged file copied or inflated
// into the install directory, the result recorded, the package cleared away.
#include "setup_dat.h"

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

void RemovePackagedCopies(const std::string& directory, const std::vector<PackagedSource>& sources,
                          CopyProgress* progress, uint64_t totalBytes) {
    for (const PackagedSource& source : sources) {
        // A folder swapped for a link since the file was read leads elsewhere.
        if (!source.nested || NestedSourceStillBelow(directory, source.path))
            DeleteFileNowOrAtRestart(
                source.path); // zlib1.dll, for one, is held by this very program
        if (progress)
            progress->Progress(totalBytes);
    }
}

} // namespace

std::vector<PackagedSource> CSetupDat::PackagedSources() {
    std::vector<PackagedSource> sources;
    for (const auto& entry : m_files) {
        sources.push_back(
            LocatePackagedSource(m_szSourceDir, entry->szName, entry->bCompressed != 0));
        entry->nestedSource = sources.back().nested;
    }
    return sources;
}

Problem CSetupDat::CopyPackage(const std::vector<PackagedSource>& sources, InstallPrompts& prompts,
                               CopyProgress* progress) {
    if (m_files.empty())
        return Problem();
    std::unique_ptr<CopyRun> run;
    try {
        run = std::make_unique<CopyRun>(*this, sources, prompts, progress);
    } catch (const std::bad_alloc&) {
        return Problem::Of(ProblemKind::NoMemory);
    }
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (Problem problem = run->ExtractFile(i, *m_files[i]))
            return problem;
        // A file may still be in the works: an earlier problem of its own goes first.
        if (!AddInstalledItem(
                setupcore::RecordItem::ForPath(m_files[i]->targetPath, IsAnsiLeadByte)))
            return run->Finish(Problem::Of(ProblemKind::NoMemory));
    }
    return run->Finish();
}

Problem CSetupDat::InstallFiles(const std::string& recordFileName, InstallPrompts& prompts,
                                CopyProgress* progress) {
    const std::vector<PackagedSource> sources = PackagedSources();
    const uint64_t totalBytes = progress ? PackagedBytes(m_szSourceDir, sources) : 0;
    ProgressScope shown(progress, totalBytes);

    for (const std::string& name : m_obsoleteFiles) {
        const std::string obsolete = AppendPath(m_szInstallDir, name);
        // Through a link, the name would reach a file outside the install
        // directory: the run stops as it does for such a target.
        if (LinkOnTheWay(m_szInstallDir, obsolete))
            return Problem::Of(ProblemKind::CannotCreateFile, obsolete);
        m_replaced.SetAside(obsolete);
    }
    if (Problem problem = CopyPackage(sources, prompts, progress))
        return problem;
    // Only now, with every new file whole, do the old ones make way.
    if (Problem problem = m_replaced.Commit())
        return problem;
    // The record goes first: should it fail, the package stays complete for another try.
    if (Problem problem = WriteInstallRecord(recordFileName))
        return problem;
    m_replaced.DiscardOldFiles();
    RemovePackagedCopies(m_szSourceDir, sources, progress, totalBytes);
    return Problem();
}
