#include "package_stream.h"

#include <system_error>

namespace {

// Enough for reading a chunk ahead while one is written and one waits, and
// little enough to leave memory use where it was: 1 MiB.
constexpr size_t kQueuedChunks = 4;

} // namespace

PackageStream::PackageStream(std::vector<PackagedSource> sources) : reader_(std::move(sources)) {
    if (std::thread::hardware_concurrency() >= 2 && ChunkQueue::Available()) {
        queue_ = std::make_unique<ChunkQueue>(kQueuedChunks);
        try {
            worker_ = std::thread(&PackageStream::Work, this);
            return;
        } catch (const std::system_error&) {
            // No thread to be had: the same reading is done on this thread.
            queue_.reset();
        }
    }
    own_ = std::make_unique<Chunk>();
}

PackageStream::~PackageStream() {
    if (worker_.joinable()) {
        queue_->Stop();
        worker_.join();
    }
}

void PackageStream::Work() {
    for (bool more = true; more;) {
        Chunk* chunk = queue_->NextEmpty();
        if (!chunk)
            break;
        more = reader_.Fill(*chunk);
        queue_->Filled();
    }
    queue_->Close();
}

const Chunk* PackageStream::Next() {
    if (queue_)
        return queue_->NextFilled();
    if (!more_)
        return nullptr;
    more_ = reader_.Fill(*own_);
    return own_.get();
}
