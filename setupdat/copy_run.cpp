#include "copy_run.h"

#include "ansi_text.h"
#include "copy_progress.h"
#include "crash_moments.h"
#include "file_handle.h"
#include "install_prompts.h"
#include "path_helpers.h"
#include "path_text.h"
#include "install_transaction.h"

#include <thread>

namespace {

// How often, at least, the progress hears from a run that waits for a worker.
constexpr DWORD kProgressMs = 50;
// Files handed out ahead of the oldest unfinished one, per worker: enough to
// keep every worker busy with small files; they hold no buffers meanwhile.
constexpr size_t kJobsPerWorker = 8;

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
    : run_(run), sources_(sources), prompts_(prompts), progress_(progress),
      workers_(CopyWorkers::ThreadsFor(std::thread::hardware_concurrency())),
      capacity_(workers_.Threads() * kJobsPerWorker), tick_([this] { RefreshProgress(); }) {}

CopyRun::~CopyRun() {
    std::vector<CopyJob*> all;
    for (const auto& job : window_)
        all.push_back(job.get());
    workers_.Recall(all);
    for (auto job = window_.rbegin(); job != window_.rend(); ++job)
        Undo(**job);
}

Problem CopyRun::ExtractFile(size_t index) {
    auto job = std::make_unique<CopyJob>();
    job->index = index;
    job->source = sources_[index];
    window_.push_back(std::move(job));
    if (PrepareFresh())
        return Finish(); // stops at the file that met the problem, or before
    while (window_.size() > capacity_)
        if (Problem problem = TakeFront())
            return problem;
    return TakeDone();
}

Problem CopyRun::Finish(Problem after) {
    while (!window_.empty())
        if (Problem problem = TakeFront())
            return problem;
    return after;
}

bool CopyRun::PrepareFresh() {
    for (const auto& job : window_) {
        if (job->early)
            return true;
        if (job->state != JobState::Fresh)
            continue;
        std::string path = AppendPath(run_.installDir, run_.package.entries[job->index].name);
        if (Problem problem = ExpandTarget(path, job->madeDirectories)) {
            job->early = problem;
            return true;
        }
        job->targetPath = path;
        run_.targets[job->index] = path;
        workers_.Queue(*job);
    }
    return false;
}

Problem CopyRun::TakeDone() {
    while (!window_.empty() && (window_.front()->early || workers_.Done(*window_.front())))
        if (Problem problem = TakeFront())
            return problem;
    return Problem();
}

Problem CopyRun::TakeFront() {
    PrepareFresh(); // after a recall, the later jobs are fresh again
    CopyJob& job = *window_.front();
    for (;;) {
        if (job.early)
            return Stopped(job.early);
        // A file that takes long is told as soon as it is being written, so
        // the log and the window name the file the run waits for; a quick
        // one costs no wait of its own for that.
        if (!workers_.Await(job, false, kProgressMs, tick_))
            AwaitFront(job, true);
        if (job.targetMade && !job.recorded)
            Record(job);
        AwaitFront(job, false);
        // A moment a file, in package order: the workers are still writing
        // the files after it.
        PassMoment();
        const CopyOutcome outcome = job.outcome;
        switch (outcome.end) {
        case CopyEnd::Whole:
            doneBytes_ += job.packagedBytes;
            window_.pop_front();
            return Problem();
        case CopyEnd::SourceNotOpened:
            RecordDirectories(job);
            return Stopped(SourceProblem(SourceStatus::NotOpened, job.source.path));
        case CopyEnd::TargetNotMade:
            if (Problem problem = Reopen(job, outcome.error))
                return Stopped(problem);
            continue; // handed out again, with its target
        case CopyEnd::SourceFailed:
            return Stopped(SourceProblem(outcome.source, job.source.path));
        case CopyEnd::WriteFailed:
            return Stopped(
                Problem::Of(ProblemKind::CannotWriteFile, job.targetPath, outcome.error));
        case CopyEnd::Cancelled: // only later jobs are recalled
            break;
        }
        return Stopped(SourceProblem(SourceStatus::Unreadable, job.source.path));
    }
}

void CopyRun::AwaitFront(CopyJob& job, bool orMade) {
    while (!workers_.Await(job, orMade, kProgressMs, tick_))
        RefreshProgress();
    RefreshProgress();
}

Problem CopyRun::Stopped(Problem problem) {
    RecallLater();
    return problem;
}

Problem CopyRun::Reopen(CopyJob& job, DWORD error) {
    // Nothing after this file goes on while the user may be asked about it.
    RecallLater();
    RecordDirectories(job);
    const std::string& path = job.targetPath;
    const std::string directory = ExtractDirectory(path);
    FileHandle target;
    bool made = false;
    if (error == ERROR_PATH_NOT_FOUND && directories_.Knows(directory)) {
        // A directory this run made or found has gone since: make it again.
        directories_.Forget();
        made = directories_.Ensure(directory, run_.createdPaths) &&
               target.CreateNew(path, GENERIC_READ | GENERIC_WRITE, 0);
        if (!made)
            error = ::GetLastError();
    }
    if (made) {
        run_.createdPaths.push_back(path);
        run_.createdFiles.push_back(path);
    } else {
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return Problem::Of(ProblemKind::CannotCreateFile, path, error);
        if (Problem problem = WaitUntilReplaceable(path))
            return problem;
        // The old file stays whole until the run has written every new one.
        const std::string successor = run_.replaced.SuccessorOf(path);
        if (!target.Create(successor, GENERIC_READ | GENERIC_WRITE, 0))
            return Problem::Of(ProblemKind::CannotCreateFile, path, ::GetLastError());
        run_.replaced.Add(path, successor);
    }
    job.recorded = true;
    if (progress_)
        progress_->File(path);
    job.preset = std::move(target);
    job.hasPreset = true;
    workers_.Queue(job, true);
    return Problem();
}

void CopyRun::RecallLater() {
    if (window_.size() < 2)
        return;
    std::vector<CopyJob*> later;
    for (size_t i = 1; i < window_.size(); ++i)
        later.push_back(window_[i].get());
    workers_.Recall(later);
    for (auto job = later.rbegin(); job != later.rend(); ++job) {
        Undo(**job);
        CopyJob& fresh = **job;
        fresh.state = JobState::Fresh;
        fresh.early = Problem();
        fresh.targetMade = false;
        fresh.packagedBytes = 0;
        fresh.outcome = CopyOutcome();
    }
    // Directories known may have gone with the jobs.
    directories_.Forget();
}

void CopyRun::Undo(CopyJob& job) {
    if (job.targetMade && !job.recorded && !job.hasPreset)
        ::DeleteFileA(job.targetPath.c_str());
    for (auto made = job.madeDirectories.rbegin(); made != job.madeDirectories.rend(); ++made)
        ::RemoveDirectoryA(made->c_str());
    job.madeDirectories.clear();
}

void CopyRun::RecordDirectories(CopyJob& job) {
    for (const std::string& directory : job.madeDirectories) {
        run_.createdPaths.push_back(directory);
        LogLine(run_.log, "Directory made: " + directory);
    }
    job.madeDirectories.clear();
}

void CopyRun::Record(CopyJob& job) {
    RecordDirectories(job);
    if (!job.hasPreset) {
        run_.createdPaths.push_back(job.targetPath);
        run_.createdFiles.push_back(job.targetPath);
    }
    job.recorded = true;
    if (progress_)
        progress_->File(job.targetPath);
}

void CopyRun::RefreshProgress() {
    if (!progress_)
        return;
    uint64_t installed = doneBytes_;
    for (const auto& job : window_)
        installed += job->packagedBytes;
    if (installed > shown_)
        shown_ = installed;
    progress_->Progress(shown_);
}

Problem CopyRun::ExpandTarget(std::string& path, std::vector<std::string>& made) {
    std::string unknownToken;
    switch (ExpandTargetPath(path, unknownToken)) {
    case TargetPlace::AsGiven:
        // Looked at before any directory is made: one made through a link
        // would already lie outside the install directory.
        if (LinkOnTheWay(run_.installDir, path))
            return Problem::Of(ProblemKind::CannotCreateFile, path);
        // A directory that cannot be made shows when its target cannot be created.
        directories_.Ensure(ExtractDirectory(path), made);
        return Problem();
    case TargetPlace::WindowsDirectory: // no directory is made there
        return Problem();
    case TargetPlace::UnknownToken:
        break;
    }
    return Problem::Of(ProblemKind::NoSystemDirectory, unknownToken);
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
