#include "copy_run.h"

#include "ansi_text.h"
#include "copy_progress.h"
#include "file_handle.h"
#include "install_problem_dlg.h"
#include "path_helpers.h"
#include "path_text.h"
#include "resource.h"
#include "setup_dat.h"
#include "string_table.h"
#include "user_interface.h"
#include "zlib_stream.h"

namespace {

// Creates the target, or empties the one there, asking the user to close the
// program that holds it for as long as it is held; false once they cancel.
bool OpenTargetAsking(const std::string& target, FileHandle& file) {
    for (;;) {
        if (file.Create(target, GENERIC_READ | GENERIC_WRITE, 0))
            return true;
        if (setupcore::EqualsIgnoringAsciiCase(
                setupcore::ExtensionAfterLastDot(target, IsAnsiLeadByte), "dll")) {
            CInstallProblemDlg problem;
            if (problem.DoModal() != IDOK)
                return false;
        } else if (AfxMessageBox(FormatResourceString(IDS_STOP_EXECUTABLE, target),
                                 MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
            return false;
        }
    }
}

void TellSourceFailure(SourceStatus status, const std::string& sourcePath) {
    switch (status) {
    case SourceStatus::Ok:
        return;
    case SourceStatus::NotOpened:
    case SourceStatus::Unreadable:
        AfxMessageBox(FormatResourceString(IDS_CANNOT_OPEN_FILE, sourcePath));
        return;
    case SourceStatus::Invalid:
        AfxMessageBox(FormatResourceString(IDS_FILE_INVALID, sourcePath));
        return;
    case SourceStatus::NoMemory:
        AfxMessageBox(IDS_NO_MEMORY);
        return;
    }
}

} // namespace

CopyRun::CopyRun(CSetupDat& dat, const std::vector<PackagedSource>& sources, CopyProgress* progress)
    : dat_(dat), sources_(sources), progress_(progress), stream_(sources) {}

bool CopyRun::ExtractFile(size_t index, SetupFileEntry& entry) {
    std::string targetPath = AppendPath(dat_.m_szInstallDir, entry.szName);
    if (!ExpandTarget(targetPath))
        return false;
    entry.szName = targetPath;

    // The source was opened, and may have been read, ahead of this point;
    // whatever befell it is told in the order the steps come.
    const Piece* piece = NextPiece();
    if (!piece || piece->status == SourceStatus::NotOpened) {
        TellSourceFailure(SourceStatus::NotOpened, sources_[index].path);
        return false;
    }
    FileHandle target;
    if (!OpenTarget(targetPath, target))
        return false;
    if (progress_)
        progress_->File(targetPath);
    if (WriteTarget(piece, index, target, targetPath))
        return true;
    // A failed target is left behind empty rather than holding a part of the data.
    target.Truncate();
    return false;
}

bool CopyRun::ExpandTarget(std::string& path) {
    const std::string directory = ExtractDirectory(path);
    if (setupcore::FindPercentToken(directory, IsAnsiLeadByte).kind ==
        setupcore::PercentToken::Kind::None) {
        directories_.Ensure(directory,
                            dat_.m_createdPaths); // a failure shows when the target is made
        return true;
    }
    std::string unknownToken;
    if (ExpandTargetPath(path, unknownToken)) // %SystemRoot%: no directory is made there
        return true;
    AfxMessageBox(FormatResourceString(IDS_NO_SYSTEM_DIR, unknownToken));
    return false;
}

bool CopyRun::OpenTarget(const std::string& path, FileHandle& target) {
    bool made = CreateNewTarget(path, target);
    if (!made) {
        const bool existed = ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!OpenTargetAsking(path, target))
            return false;
        made = !existed;
    }
    if (made)
        dat_.m_createdPaths.push_back(path);
    return true;
}

bool CopyRun::CreateNewTarget(const std::string& path, FileHandle& target) {
    if (target.CreateNew(path, GENERIC_READ | GENERIC_WRITE, 0))
        return true;
    const DWORD error = ::GetLastError();
    const std::string directory = ExtractDirectory(path);
    if (error != ERROR_PATH_NOT_FOUND || !directories_.Knows(directory))
        return false;
    // A directory this run made or found has gone since: make it again.
    directories_.Forget();
    return directories_.Ensure(directory, dat_.m_createdPaths) &&
           target.CreateNew(path, GENERIC_READ | GENERIC_WRITE, 0);
}

bool CopyRun::WriteTarget(const Piece* piece, size_t index, FileHandle& target,
                          const std::string& targetPath) {
    const bool compressed = sources_[index].compressed;
    uint32_t adler = setupcore::kAdlerStart;
    for (;; piece = NextPiece()) {
        if (!piece) { // the reader ends every file it starts; should it not, the source failed
            TellSourceFailure(SourceStatus::Unreadable, sources_[index].path);
            return false;
        }
        const uint8_t* bytes = chunk_->bytes.data() + piece->offset;
        if (compressed)
            adler = setupcore::Adler32(adler, bytes, piece->size);
        if (piece->size && !target.Write(bytes, static_cast<DWORD>(piece->size))) {
            AfxMessageBox(FormatResourceString(IDS_EXTRACT_FAILED, targetPath));
            return false;
        }
        if (progress_)
            progress_->Progress(installedBefore_ + piece->packagedBytes);
        if (piece->last)
            return SourceWhole(*piece, index, adler);
    }
}

bool CopyRun::SourceWhole(const Piece& last, size_t index, uint32_t adler) {
    const bool damaged = last.checksummed && last.adler != adler;
    const SourceStatus status = damaged ? SourceStatus::Invalid : last.status;
    if (status != SourceStatus::Ok) {
        TellSourceFailure(status, sources_[index].path);
        return false;
    }
    installedBefore_ += last.packagedBytes;
    return true;
}

const Piece* CopyRun::NextPiece() {
    while (!chunk_ || nextPiece_ == chunk_->pieces.size()) {
        chunk_ = stream_.Next();
        nextPiece_ = 0;
        if (!chunk_)
            return nullptr;
    }
    return &chunk_->pieces[nextPiece_++];
}
