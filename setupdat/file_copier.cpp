#include "file_copier.h"

#include "run_journal.h"

namespace {

CopyOutcome SourceEnd(SourceStatus status) {
    CopyOutcome outcome;
    outcome.end = status == SourceStatus::Ok ? CopyEnd::Whole : CopyEnd::SourceFailed;
    outcome.source = status;
    return outcome;
}

CopyOutcome EndedBy(CopyEnd end, DWORD error = 0) {
    CopyOutcome outcome;
    outcome.end = end;
    outcome.error = error;
    return outcome;
}

} // namespace

FileCopier::FileCopier() : input_(setupcore::kStreamChunk), output_(setupcore::kStreamChunk) {}

namespace {

// A new file is written beside its name and takes the name only when whole:
// whenever the run is ended, no file stands under its name half written.
bool MakePart(const std::string& target, FileHandle& part, DWORD& error) {
    if (::GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        error = ERROR_FILE_EXISTS; // the run replaces it instead
        return false;
    }
    if (part.Create(setupcore::PartName(target), GENERIC_READ | GENERIC_WRITE, 0))
        return true;
    error = ::GetLastError();
    // Another job writes the same name (a package that holds it twice).
    if (error == ERROR_SHARING_VIOLATION)
        error = ERROR_FILE_EXISTS;
    return false;
}

CopyOutcome NameWhole(const std::string& target) {
    if (::MoveFileA(setupcore::PartName(target).c_str(), target.c_str()))
        return CopyOutcome();
    const DWORD error = ::GetLastError();
    ::DeleteFileA(setupcore::PartName(target).c_str());
    return EndedBy(CopyEnd::TargetNotMade, error);
}

} // namespace

CopyOutcome FileCopier::Copy(CopyJob& job, CopyEvents& events) {
    FileHandle source;
    if (!source.Open(job.source.path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE))
        return EndedBy(CopyEnd::SourceNotOpened);
    FileHandle made;
    FileHandle& target = job.hasPreset ? job.preset : made;
    DWORD error = 0;
    if (!job.hasPreset && !MakePart(job.targetPath, made, error))
        return EndedBy(CopyEnd::TargetNotMade, error);
    events.TargetMade(job);
    const CopyOutcome outcome = Transfer(job, source, target, events);
    // A failed successor is left behind empty rather than holding a part of
    // the data; a new file's part goes.
    if (outcome.end != CopyEnd::Whole && job.hasPreset)
        target.Truncate();
    job.preset = FileHandle(); // closed on this thread, like a target made here
    if (job.hasPreset)
        return outcome;
    made = FileHandle();
    if (outcome.end != CopyEnd::Whole) {
        ::DeleteFileA(setupcore::PartName(job.targetPath).c_str());
        return outcome;
    }
    return NameWhole(job.targetPath);
}

CopyOutcome FileCopier::Transfer(CopyJob& job, FileHandle& source, FileHandle& target,
                                 CopyEvents& events) {
    if (!job.source.compressed)
        return CopyPlain(job, source, target, events);
    int32_t declared = 0;
    DWORD got = 0;
    if (!source.Read(&declared, sizeof declared, got))
        return SourceEnd(SourceStatus::Unreadable);
    job.packagedBytes = got;
    if (got != sizeof declared)
        return SourceEnd(SourceStatus::Invalid);
    inflater_.Reset(declared);
    return Inflate(job, source, target, events);
}

bool FileCopier::ReadMore(CopyJob& job, FileHandle& source, DWORD& got) {
    if (!source.Read(input_.data(), static_cast<DWORD>(input_.size()), got))
        return false;
    job.packagedBytes += got;
    return true;
}

CopyOutcome FileCopier::CopyPlain(CopyJob& job, FileHandle& source, FileHandle& target,
                                  CopyEvents& events) {
    for (;;) {
        DWORD got = 0;
        if (!ReadMore(job, source, got))
            return SourceEnd(SourceStatus::Unreadable);
        if (got == 0)
            return SourceEnd(SourceStatus::Ok);
        if (!target.Write(input_.data(), got))
            return EndedBy(CopyEnd::WriteFailed, ::GetLastError());
        events.ChunkDone(job);
        if (job.cancel)
            return EndedBy(CopyEnd::Cancelled);
    }
}

CopyOutcome FileCopier::Inflate(CopyJob& job, FileHandle& source, FileHandle& target,
                                CopyEvents& events) {
    const uint8_t* at = nullptr;
    size_t left = 0, held = 0;
    setupcore::StreamStatus status = setupcore::StreamStatus::NeedMore;
    for (;;) {
        if (left == 0) {
            DWORD got = 0;
            if (!ReadMore(job, source, got))
                return SourceEnd(SourceStatus::Unreadable);
            if (got == 0)
                break;
            at = input_.data();
            left = got;
            events.ChunkDone(job);
            if (job.cancel)
                return EndedBy(CopyEnd::Cancelled);
        }
        size_t made = 0;
        status = inflater_.Inflate(at, left, output_.data() + held, output_.size() - held, made);
        held += made;
        // Whole chunks go out, so that a large file costs few writes.
        if (held == output_.size()) {
            if (!target.Write(output_.data(), static_cast<DWORD>(held)))
                return EndedBy(CopyEnd::WriteFailed, ::GetLastError());
            held = 0;
        }
        // A stream that has ended is finished only by the end of the file:
        // bytes after it make it invalid.
        if (status != setupcore::StreamStatus::NeedMore && status != setupcore::StreamStatus::Ok)
            break;
    }
    if (held && !target.Write(output_.data(), static_cast<DWORD>(held)))
        return EndedBy(CopyEnd::WriteFailed, ::GetLastError());
    return SourceEnd(StatusOf(inflater_.Finish()));
}
