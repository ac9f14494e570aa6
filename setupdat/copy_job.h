// One packaged file as the parallel copy run hands it to a worker: where it is
// read from and written to, and what came of it. The run's own thread makes
// and owns every job; a worker only runs it and fills in its outcome.
#pragma once

#include "file_handle.h"
#include "package_reader.h"
#include "problem.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct SetupFileEntry;

// How copying one file ended.
enum class CopyEnd {
    Whole,
    SourceNotOpened, // nothing was made
    TargetNotMade,   // the source opened, the target could not be created (error)
    SourceFailed,    // the target was made and left empty (source status)
    WriteFailed,     // the target was made and left empty (error)
    Cancelled,       // the run recalled it; the target, if made, holds anything
};

struct CopyOutcome {
    CopyEnd end = CopyEnd::Whole;
    SourceStatus source = SourceStatus::Ok;
    DWORD error = 0;
};

// Fresh: waits for the run to prepare its target's directories; Queued: for a
// worker; Running; Done: the outcome is in.
enum class JobState { Fresh, Queued, Running, Done };

struct CopyJob {
    size_t index = 0;
    PackagedSource source;
    SetupFileEntry* entry = nullptr;
    std::string targetPath;
    // Directories made for this target and not yet in the run's list.
    std::vector<std::string> madeDirectories;
    // A target the run opened itself (a successor beside a file in use); else
    // the worker creates a new one at targetPath.
    FileHandle preset;
    bool hasPreset = false;
    // The problem met while preparing the target, told when its turn comes.
    Problem early;
    bool recorded = false; // its paths are in the run's list

    // Written by the thread that copies it, read by the run's.
    std::atomic<uint64_t> packagedBytes{0};
    std::atomic<bool> cancel{false};
    // Under the workers' monitor.
    JobState state = JobState::Fresh;
    bool targetMade = false;
    CopyOutcome outcome;
};
