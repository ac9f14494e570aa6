// The copy run: obsolete files out, every packaged file copied or inflated
// into the install directory, the result recorded, the package cleared away.
#include "setup_dat.h"

#include "copy_progress.h"
#include "copy_run.h"
#include "path_helpers.h"
#include "reboot_delete.h"
#include "resource.h"
#include "unique_handle.h"
#include "user_interface.h"

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

// The packaged files' sizes from one listing of their directory rather than
// a query a file: the bar needs the total before the first byte is read.
uint64_t PackagedBytes(const std::string& directory, const std::vector<PackagedSource>& sources) {
    std::unordered_map<std::string, uint64_t> sizes;
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(AppendPath(directory, "*").c_str(), &found));
    if (search) {
        do
            sizes[Folded(found.cFileName)] =
                (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        while (::FindNextFileA(search.get(), &found));
    }
    uint64_t total = 0;
    for (const PackagedSource& source : sources) {
        const auto size = sizes.find(Folded(ExtractFileName(source.path, true)));
        if (size != sizes.end())
            total += size->second;
    }
    return total;
}

void RemovePackagedCopies(const std::vector<PackagedSource>& sources, CopyProgress* progress,
                          uint64_t totalBytes) {
    for (const PackagedSource& source : sources) {
        DeleteFileNowOrAtRestart(source.path); // zlib1.dll, for one, is held by this very program
        if (progress)
            progress->Progress(totalBytes);
    }
}

} // namespace

std::vector<PackagedSource> CSetupDat::PackagedSources() const {
    std::vector<PackagedSource> sources;
    for (const auto& entry : m_files)
        sources.push_back({AppendPath(m_szSourceDir, ExtractFileName(entry->szName, true)),
                           entry->bCompressed != 0});
    return sources;
}

int CSetupDat::CopyPackage(const std::vector<PackagedSource>& sources, CopyProgress* progress) {
    if (m_files.empty())
        return 1;
    std::unique_ptr<CopyRun> run;
    try {
        run = std::make_unique<CopyRun>(*this, sources, progress);
    } catch (const std::bad_alloc&) {
        AfxMessageBox(IDS_NO_MEMORY);
        return 0;
    }
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!run->ExtractFile(i, *m_files[i]))
            return 0;
        AddInstalledItem(m_files[i]->szName);
    }
    return 1;
}

int CSetupDat::InstallFiles(const std::string& recordFileName, CopyProgress* progress) {
    const std::vector<PackagedSource> sources = PackagedSources();
    const uint64_t totalBytes = progress ? PackagedBytes(m_szSourceDir, sources) : 0;
    ProgressScope shown(progress, totalBytes);

    for (const std::string& name : m_obsoleteFiles)
        ::DeleteFileA(AppendPath(m_szInstallDir, name).c_str()); // absent is normal
    if (!CopyPackage(sources, progress))
        return 0;
    // The record goes first: should it fail, the package stays complete for another try.
    if (!WriteInstallRecord(recordFileName))
        return 0;
    RemovePackagedCopies(sources, progress, totalBytes);
    return 1;
}
