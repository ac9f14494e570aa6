// The package's installed bytes as the copy run writes them, a chunk at a
// time. On a machine with two cores or more (and a system with SlimMonitor) a
// worker thread reads and inflates the chunks ahead while the caller writes
// the one before; else the caller's own thread reads each chunk when it asks
// for it.
#pragma once

#include "chunk_queue.h"
#include "package_reader.h"

#include <memory>
#include <thread>

class PackageStream {
public:
    // Allocates every buffer of the run here (std::bad_alloc), none later.
    explicit PackageStream(std::vector<PackagedSource> sources);
    // Stops the worker and waits for it: no source stays open after.
    ~PackageStream();
    PackageStream(const PackageStream&) = delete;
    PackageStream& operator=(const PackageStream&) = delete;

    // The next chunk, in order; the one before is given back. Null after the
    // last, which holds the last file's end or the first failure.
    const Chunk* Next();

private:
    void Work();

    PackageReader reader_;
    std::unique_ptr<ChunkQueue> queue_; // with a worker
    std::unique_ptr<Chunk> own_;        // without one
    bool more_ = true;
    std::thread worker_;
};
