#include "copy_run.h"

#include "ansi_text.h"
#include "copy_progress.h"
#include "file_handle.h"
#include "install_prompts.h"
#include "path_helpers.h"
#include "path_text.h"
#include "install_transaction.h"
#include "zlib_stream.h"

namespace {

Problem SourceProblem(SourceStatus status, const std::string& sourcePath) {
    switch (status) {
    case SourceStatus::Ok:
        break;
    case SourceStatus::NotOpened:
    case SourceStatus::Unreadable:
        return Problem::Of(ProblemKind::CannotOpenFile, sourcePath);
    case SourceStatus::Invalid:
        return Problem::Of(ProblemKind::FileInvalid, sourcePath);
    case SourceStatus::NoMemory:
        return Problem::Of(ProblemKind::NoMemory);
    }
    return Problem();
}

} // namespace

CopyRun::CopyRun(InstallTransaction& run, const std::vector<PackagedSource>& sources,
                 InstallPrompts& prompts, CopyProgress* progress)
    : run_(run), sources_(sources), prompts_(prompts), progress_(progress), stream_(sources) {}

Problem CopyRun::ExtractFile(size_t index) {
    std::string targetPath = AppendPath(run_.installDir, run_.package.entries[index].name);
    if (Problem problem = ExpandTarget(targetPath))
        return problem;
    run_.targets[index] = targetPath;

    // The source was opened, and may have been read, ahead of this point;
    // whatever befell it is told in the order the steps come.
    const Piece* piece = NextPiece();
    if (!piece || piece->status == SourceStatus::NotOpened)
        return SourceProblem(SourceStatus::NotOpened, sources_[index].path);
    FileHandle target;
    if (Problem problem = OpenTarget(targetPath, target))
        return problem;
    if (progress_)
        progress_->File(targetPath);
    Problem problem = WriteTarget(piece, index, target, targetPath);
    // A failed target is left behind empty rather than holding a part of the data.
    if (problem)
        target.Truncate();
    return problem;
}

Problem CopyRun::ExpandTarget(std::string& path) {
    std::string unknownToken;
    switch (ExpandTargetPath(path, unknownToken)) {
    case TargetPlace::AsGiven:
        // Looked at before any directory is made: one made through a link
        // would already lie outside the install directory.
        if (LinkOnTheWay(run_.installDir, path))
            return Problem::Of(ProblemKind::CannotCreateFile, path);
        // A directory that cannot be made shows when its target cannot be created.
        EnsureDirectory(ExtractDirectory(path));
        return Problem();
    case TargetPlace::WindowsDirectory: // no directory is made there
        return Problem();
    case TargetPlace::UnknownToken:
        break;
    }
    return Problem::Of(ProblemKind::NoSystemDirectory, unknownToken);
}

bool CopyRun::EnsureDirectory(const std::string& directory) {
    const size_t before = run_.createdPaths.size();
    const bool made = directories_.Ensure(directory, run_.createdPaths);
    for (size_t i = before; i < run_.createdPaths.size(); ++i)
        LogLine(run_.log, "Directory made: " + run_.createdPaths[i]);
    return made;
}

Problem CopyRun::OpenTarget(const std::string& path, FileHandle& target) {
    if (CreateNewTarget(path, target)) {
        run_.createdPaths.push_back(path);
        run_.createdFiles.push_back(path);
        return Problem();
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
        return Problem::Of(ProblemKind::CannotCreateFile, path, error);
    if (Problem problem = WaitUntilReplaceable(path))
        return problem;
    // The old file stays whole until the run has written every new one.
    const std::string successor = run_.replaced.MakeSuccessor(path);
    if (successor.empty() || !target.Create(successor, GENERIC_READ | GENERIC_WRITE, 0)) {
        const DWORD failure = ::GetLastError();
        if (!successor.empty())
            ::DeleteFileA(successor.c_str());
        return Problem::Of(ProblemKind::CannotCreateFile, path, failure);
    }
    run_.replaced.Add(path, successor);
    return Problem();
}

Problem CopyRun::WaitUntilReplaceable(const std::string& path) {
    const bool isLibrary = setupcore::EqualsIgnoringAsciiCase(
        setupcore::ExtensionAfterLastDot(path, IsAnsiLeadByte), "dll");
    for (;;) {
        FileHandle probe;
        if (probe.Open(path, GENERIC_READ | GENERIC_WRITE, 0))
            return Problem();
        const DWORD error = ::GetLastError();
        // Only a program holding the file is something the user can end;
        // anything else in the way (a directory, a read-only file, a device)
        // stays in the way however often they are asked.
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
            return Problem::Of(ProblemKind::CannotCreateFile, path, error);
        if (!prompts_.RetryFileInUse(path, isLibrary))
            return Problem::Of(ProblemKind::Cancelled, path);
    }
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
    return EnsureDirectory(directory) && target.CreateNew(path, GENERIC_READ | GENERIC_WRITE, 0);
}

Problem CopyRun::WriteTarget(const Piece* piece, size_t index, FileHandle& target,
                             const std::string& targetPath) {
    const bool compressed = sources_[index].compressed;
    uint32_t adler = setupcore::kAdlerStart;
    for (;; piece = NextPiece()) {
        if (!piece) // the reader ends every file it starts; should it not, the source failed
            return SourceProblem(SourceStatus::Unreadable, sources_[index].path);
        const uint8_t* bytes = chunk_->bytes.data() + piece->offset;
        if (compressed)
            adler = setupcore::Adler32(adler, bytes, piece->size);
        if (piece->size && !target.Write(bytes, static_cast<DWORD>(piece->size)))
            return Problem::Of(ProblemKind::CannotWriteFile, targetPath, ::GetLastError());
        if (progress_)
            progress_->Progress(installedBefore_ + piece->packagedBytes);
        if (piece->last)
            return SourceWhole(*piece, index, adler);
    }
}

Problem CopyRun::SourceWhole(const Piece& last, size_t index, uint32_t adler) {
    const bool damaged = last.checksummed && last.adler != adler;
    const SourceStatus status = damaged ? SourceStatus::Invalid : last.status;
    if (status != SourceStatus::Ok)
        return SourceProblem(status, sources_[index].path);
    installedBefore_ += last.packagedBytes;
    return Problem();
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
