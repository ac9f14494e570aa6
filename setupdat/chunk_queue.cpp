#include "chunk_queue.h"

ChunkQueue::ChunkQueue(size_t chunks) {
    for (size_t i = 0; i < chunks; ++i)
        chunks_.push_back(std::make_unique<Chunk>());
}

Chunk* ChunkQueue::NextEmpty() {
    SlimMonitor::Hold hold(monitor_);
    monitor_.Wait([this] { return filled_ - emptied_ < chunks_.size() || stopped_; });
    return stopped_ ? nullptr : chunks_[filled_ % chunks_.size()].get();
}

void ChunkQueue::Filled() {
    SlimMonitor::Hold hold(monitor_);
    ++filled_;
    monitor_.Wake();
}

void ChunkQueue::Close() {
    SlimMonitor::Hold hold(monitor_);
    closed_ = true;
    monitor_.Wake();
}

Chunk* ChunkQueue::NextFilled() {
    SlimMonitor::Hold hold(monitor_);
    if (writerHolds_) {
        writerHolds_ = false;
        ++emptied_;
        monitor_.Wake();
    }
    monitor_.Wait([this] { return emptied_ < filled_ || closed_; });
    if (emptied_ == filled_)
        return nullptr;
    writerHolds_ = true;
    return chunks_[emptied_ % chunks_.size()].get();
}

void ChunkQueue::Stop() {
    SlimMonitor::Hold hold(monitor_);
    stopped_ = true;
    monitor_.Wake();
}
