// Inflating and deflating zlib streams in fixed-size chunks, so memory stays
// the same whatever the size of the packaged file. A packaged compressed file
// is an int32 uncompressed length followed by one zlib stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace setupcore {

constexpr size_t kStreamChunk = 256 * 1024;

// Receives each block of produced bytes; returns false when it could not take them.
using ByteSink = std::function<bool(const uint8_t* data, size_t size)>;

enum class StreamStatus {
    Ok,
    NeedMore,       // Inflater: the stream has not ended yet
    Damaged,        // not a valid zlib stream, or it ends early
    TrailingData,   // bytes after the end of the stream
    LengthMismatch, // the inflated length differs from the declared one
    NoMemory,
    SinkFailed, // the sink refused a block (a write failed)
};

class Inflater {
public:
    explicit Inflater(int64_t declaredLength);
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Feeds the next piece of the stream; inflated bytes go to `sink`.
    StreamStatus Feed(const uint8_t* data, size_t size, const ByteSink& sink);
    // To be called after the last piece: Ok only for a whole stream of the declared length.
    StreamStatus Finish();
    uint64_t Produced() const { return produced_; }

private:
    struct State;
    std::unique_ptr<State> state_;
    int64_t declared_;
    uint64_t produced_ = 0;
    bool ended_ = false;
    StreamStatus failed_ = StreamStatus::Ok;
};

class Deflater {
public:
    explicit Deflater(int level = -1);
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    StreamStatus Feed(const uint8_t* data, size_t size, const ByteSink& sink);
    StreamStatus Finish(const ByteSink& sink);

private:
    StreamStatus Run(const uint8_t* data, size_t size, int flush, const ByteSink& sink);
    struct State;
    std::unique_ptr<State> state_;
};

// Inflates a whole packaged compressed file (length word included) in memory;
// for tests and tools that handle small data.
StreamStatus InflatePackaged(const uint8_t* data, size_t size, const ByteSink& sink);

} // namespace setupcore
