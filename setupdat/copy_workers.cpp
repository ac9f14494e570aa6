#include "copy_workers.h"

#include <algorithm>
#include <system_error>

size_t CopyWorkers::ThreadsFor(unsigned cores) {
    return std::min<size_t>(std::max<unsigned>(cores, 2), kMaxThreads);
}

CopyWorkers::CopyWorkers(size_t threads) {
    if (!SlimMonitor::Available())
        threads = 0;
    for (size_t i = 0; i < std::max<size_t>(threads, 1); ++i)
        copiers_.push_back(std::make_unique<FileCopier>());
    threaded_ = threads > 0;
    for (size_t i = 0; i < threads; ++i) {
        try {
            threads_.emplace_back(&CopyWorkers::Work, this, std::ref(*copiers_[i]));
        } catch (const std::system_error&) {
            break; // as many as the system gives; with none, the caller's thread copies
        }
    }
    threaded_ = !threads_.empty();
}

CopyWorkers::~CopyWorkers() {
    if (!threaded_)
        return;
    {
        SlimMonitor::Hold hold(monitor_);
        closing_ = true;
        for (CopyJob* job : queue_)
            job->state = JobState::Fresh;
        queue_.clear();
        monitor_.WakeAll();
    }
    for (std::thread& thread : threads_)
        thread.join();
}

void CopyWorkers::Work(FileCopier& copier) {
    for (;;) {
        CopyJob* job = nullptr;
        {
            SlimMonitor::Hold hold(monitor_);
            ++idle_;
            monitor_.Wait([this] { return closing_ || !queue_.empty(); });
            --idle_;
            if (closing_)
                return;
            job = queue_.front();
            queue_.pop_front();
            job->state = JobState::Running;
        }
        // The copy runs with the monitor let go: the workers meet only here.
        const CopyOutcome outcome = copier.Copy(*job, *this);
        SlimMonitor::Hold hold(monitor_);
        job->outcome = outcome;
        job->state = JobState::Done;
        if (job == awaited_ || recalling_)
            monitor_.WakeAll();
    }
}

void CopyWorkers::TargetMade(CopyJob& job) {
    if (!threaded_) {
        job.targetMade = true;
        return;
    }
    SlimMonitor::Hold hold(monitor_);
    job.targetMade = true;
    if (&job == awaited_ && awaitedMade_)
        monitor_.WakeAll();
}

void CopyWorkers::ChunkDone(CopyJob&) {
    if (tick_)
        (*tick_)();
}

void CopyWorkers::Queue(CopyJob& job, bool first) {
    job.outcome = CopyOutcome();
    job.targetMade = false;
    job.cancel = false;
    if (!threaded_) {
        job.state = JobState::Queued;
        return;
    }
    SlimMonitor::Hold hold(monitor_);
    job.state = JobState::Queued;
    if (first)
        queue_.push_front(&job);
    else
        queue_.push_back(&job);
    if (idle_ > 0)
        monitor_.WakeAll();
}

void CopyWorkers::CopyHere(CopyJob& job, const std::function<void()>& tick) {
    job.state = JobState::Running;
    tick_ = &tick;
    job.outcome = copiers_.front()->Copy(job, *this);
    tick_ = nullptr;
    job.state = JobState::Done;
}

bool CopyWorkers::Await(CopyJob& job, bool orMade, DWORD ms, const std::function<void()>& tick) {
    if (!threaded_) {
        if (job.state == JobState::Queued)
            CopyHere(job, tick);
        return job.state == JobState::Done;
    }
    SlimMonitor::Hold hold(monitor_);
    awaited_ = &job;
    awaitedMade_ = orMade;
    const bool ready = monitor_.WaitFor(
        ms, [&job, orMade] { return job.state == JobState::Done || (orMade && job.targetMade); });
    awaited_ = nullptr;
    return ready;
}

bool CopyWorkers::Done(CopyJob& job) {
    if (!threaded_)
        return job.state == JobState::Done;
    SlimMonitor::Hold hold(monitor_);
    return job.state == JobState::Done;
}

void CopyWorkers::Recall(const std::vector<CopyJob*>& jobs) {
    if (!threaded_) {
        for (CopyJob* job : jobs)
            if (job->state == JobState::Queued)
                job->state = JobState::Fresh;
        return;
    }
    SlimMonitor::Hold hold(monitor_);
    for (CopyJob* job : jobs) {
        job->cancel = true;
        const auto queued = std::find(queue_.begin(), queue_.end(), job);
        if (queued != queue_.end()) {
            queue_.erase(queued);
            job->state = JobState::Fresh;
        }
    }
    recalling_ = true;
    monitor_.Wait([&jobs] {
        return std::none_of(jobs.begin(), jobs.end(),
                            [](const CopyJob* job) { return job->state == JobState::Running; });
    });
    recalling_ = false;
}
