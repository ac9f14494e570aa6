// One packaged file into its target: the source opened, the target made, the
// bytes copied or inflated in 256 KiB chunks. It touches only those two files
// and reports rather than shows what went wrong, so any thread may run it;
// each worker keeps one, so buffers and zlib's state serve file after file.
#pragma once

#include "copy_job.h"
#include "zlib_stream.h"

#include <vector>

// What the thread running a copy hears from it.
class CopyEvents {
public:
    virtual ~CopyEvents() = default;
    // The target exists now (a new one was made, or the preset one is used).
    virtual void TargetMade(CopyJob& job) = 0;
    // Another chunk was read; a chance to check for Cancel or tell progress.
    virtual void ChunkDone(CopyJob& job) = 0;
};

class FileCopier {
public:
    // Allocates the buffers (std::bad_alloc).
    FileCopier();
    CopyOutcome Copy(CopyJob& job, CopyEvents& events);

private:
    CopyOutcome Transfer(CopyJob& job, FileHandle& source, FileHandle& target, CopyEvents& events);
    CopyOutcome CopyPlain(CopyJob& job, FileHandle& source, FileHandle& target, CopyEvents& events);
    CopyOutcome Inflate(CopyJob& job, FileHandle& source, FileHandle& target, CopyEvents& events);
    // Reads the next block of the source into input_; false when reading failed.
    bool ReadMore(CopyJob& job, FileHandle& source, DWORD& got);

    std::vector<uint8_t> input_, output_;
    setupcore::Inflater inflater_{0};
};
