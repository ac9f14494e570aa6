// The copy run's worker threads. Each takes the oldest queued job, copies it
// with a FileCopier of its own and posts the outcome; the run's thread queues
// the jobs in package order and takes their outcomes in that order. Without
// the means to hand jobs between threads (slim_monitor.h) there are no
// workers, and the run's thread copies each job when it awaits it.
#pragma once

#include "file_copier.h"
#include "slim_monitor.h"

#include <deque>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class CopyWorkers : private CopyEvents {
public:
    // One thread a core, for files inflate independently of each other; at
    // least two, so that one file's reading and writing overlap another's
    // inflating even on one core; at most kMaxThreads, as each holds 512 KiB
    // of buffers and beyond four the file system, not inflating, sets the pace.
    static constexpr size_t kMaxThreads = 4;
    static size_t ThreadsFor(unsigned cores);

    // Starts up to `threads` workers (fewer when the system gives fewer).
    // Allocates every buffer of the run here (std::bad_alloc), none later.
    explicit CopyWorkers(size_t threads);
    // Stops every worker and waits for it: no file stays open after.
    ~CopyWorkers() override;
    CopyWorkers(const CopyWorkers&) = delete;
    CopyWorkers& operator=(const CopyWorkers&) = delete;

    size_t Threads() const { return threads_.size(); }
    // Hands a Fresh job to the workers; `first` puts it before every other.
    void Queue(CopyJob& job, bool first = false);
    // Waits about `ms` at most until `job` is Done or, with `orMade`, has its
    // target made; whether it has. Without workers, copies it here, calling
    // `tick` after each chunk.
    bool Await(CopyJob& job, bool orMade, DWORD ms, const std::function<void()>& tick);
    // Whether `job` is Done, without waiting.
    bool Done(CopyJob& job);
    // Takes every one of `jobs` off the queue and stops those running; returns
    // once none of them runs any more.
    void Recall(const std::vector<CopyJob*>& jobs);

private:
    void Work(FileCopier& copier);
    void TargetMade(CopyJob& job) override;
    void ChunkDone(CopyJob& job) override;
    // Copies `job` on the caller's thread (no workers).
    void CopyHere(CopyJob& job, const std::function<void()>& tick);

    bool threaded_ = false;
    SlimMonitor monitor_;
    std::deque<CopyJob*> queue_;
    bool closing_ = false;
    // Whom a change wakes: a worker only when one is idle, the run's thread
    // only for the job it awaits (or, recalling, for any), so that a run of
    // small files does not cost a thread switch a file.
    size_t idle_ = 0;
    const CopyJob* awaited_ = nullptr;
    bool awaitedMade_ = false;
    bool recalling_ = false;
    std::vector<std::unique_ptr<FileCopier>> copiers_;
    std::vector<std::thread> threads_;
    const std::function<void()>* tick_ = nullptr; // without workers
};
