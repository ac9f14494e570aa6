// Chunks handed from the thread that fills them to the thread that writes them
// out, in order, through a fixed set: the filler waits while all are full, the
// writer while none is, so memory stays bounded whatever the package holds.
#pragma once

#include "package_reader.h"
#include "slim_monitor.h"

#include <memory>
#include <vector>

class ChunkQueue {
public:
    // Whether this system can hand chunks between threads (SlimMonitor).
    static bool Available() { return SlimMonitor::Available(); }
    explicit ChunkQueue(size_t chunks);

    // Filler: a chunk to fill, or null once the writer has stopped.
    Chunk* NextEmpty();
    // The chunk from NextEmpty is filled.
    void Filled();
    // Nothing more will be filled.
    void Close();

    // Writer: gives back the chunk it had and takes the next filled one; null
    // once the filler has closed and every chunk was taken.
    Chunk* NextFilled();
    // The writer wants no more: a waiting filler gets null.
    void Stop();

private:
    SlimMonitor monitor_;
    std::vector<std::unique_ptr<Chunk>> chunks_;
    // Chunks are filled and written in turn around the set.
    size_t filled_ = 0, emptied_ = 0;
    bool writerHolds_ = false;
    bool closed_ = false, stopped_ = false;
};
