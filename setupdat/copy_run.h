// One copy run over several threads. The caller's thread takes the files in
// package order: it makes each target's directories, hands the file to the
// workers (copy_workers.h), which open, inflate and write several files at
// once, and takes their outcomes back in package order. It alone records what
// was made, tells the progress and asks about a file in use, so the record,
// the log and every prompt come in the order of the files as ever.
//
// Workers run ahead of the outcomes taken: whatever a later file did is
// undone, with its worker stopped first, when an earlier one stops the run or
// must ask the user. The first problem in package order is the one told, and
// while the user is asked nothing else runs.
#pragma once

#include "copy_job.h"
#include "copy_workers.h"
#include "known_directories.h"
#include "problem.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CopyProgress;
class InstallTransaction;
class InstallPrompts;

class CopyRun {
public:
    // Starts the workers for `sources`, the packaged files of the run's
    // package in order (std::bad_alloc when their buffers cannot be had).
    CopyRun(InstallTransaction& run, const std::vector<PackagedSource>& sources,
            InstallPrompts& prompts, CopyProgress* progress);
    // Stops every worker, then takes away what they made that no list holds.
    ~CopyRun();
    CopyRun(const CopyRun&) = delete;
    CopyRun& operator=(const CopyRun&) = delete;

    // Starts installing the `index`th file of the package, whose target path
    // the run then holds; the problem that stops the run, if any, which may
    // be an earlier file's.
    Problem ExtractFile(size_t index);
    // Waits for every file started: the first problem in package order, else
    // `after` (one met after the last file was started).
    Problem Finish(Problem after = Problem());

private:
    // Makes the directories of every job not yet handed out and hands it
    // out; true when one met a problem, which stops the handing out there.
    bool PrepareFresh();
    // Takes the outcome of the oldest job, waiting for it as long as it takes.
    Problem TakeFront();
    // Takes the outcomes of the oldest jobs that are done, without waiting.
    Problem TakeDone();
    // The oldest job could not make its target: made here as the run always
    // made it, asking about a file in use, then handed out again.
    Problem Reopen(CopyJob& job, DWORD error);
    // Every job after the oldest stopped, what it made taken away, and made fresh.
    void RecallLater();
    void Undo(CopyJob& job);
    // The job's directories, and its target when made new, into the run's lists.
    void Record(CopyJob& job);
    void RecordDirectories(CopyJob& job);
    void AwaitFront(CopyJob& job, bool orMade);
    void RefreshProgress();
    Problem Stopped(Problem problem);

    Problem ExpandTarget(std::string& path, std::vector<std::string>& made);
    // Asks while another program holds the file at `path`.
    Problem WaitUntilReplaceable(const std::string& path);

    InstallTransaction& run_;
    std::vector<PackagedSource> sources_;
    InstallPrompts& prompts_;
    CopyProgress* progress_;
    KnownDirectories directories_;
    CopyWorkers workers_;
    // Jobs started and not yet taken, oldest first; at most capacity_ of them.
    std::deque<std::unique_ptr<CopyJob>> window_;
    size_t capacity_;
    uint64_t doneBytes_ = 0; // packaged bytes of the files taken
    uint64_t shown_ = 0;     // the progress told, which never goes back
    std::function<void()> tick_;
};
