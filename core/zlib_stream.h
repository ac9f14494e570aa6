// Inflating zlib streams in fixed-size chunks, so memory stays the same
// whatever the size of the packaged file. A packaged compressed file is an
// int32 uncompressed length followed by one zlib stream. Deflating, which only
// the tools that make packages need, is zlib_deflate.h's: the setup program
// links none of it.
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

// Who checks a stream's Adler-32 checksum. Computing it is about a tenth of
// the work of inflating; with ByCaller, the Inflater leaves it out and hands on
// the checksum the stream ends with (ExpectedAdler), so that the caller can
// compute Adler32 over the bytes made where they are written, which may be
// another thread. Every other check stays the Inflater's.
enum class Checksum { ByInflater, ByCaller };

constexpr uint32_t kAdlerStart = 1;
// Adds `size` bytes to a running Adler-32 checksum that began at kAdlerStart.
uint32_t Adler32(uint32_t running, const uint8_t* data, size_t size);

class Inflater {
public:
    explicit Inflater(int64_t declaredLength, Checksum checksum = Checksum::ByInflater);
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Starts on a new stream, keeping zlib's memory: one Inflater serves many files.
    void Reset(int64_t declaredLength);
    // Feeds the next piece of the stream; inflated bytes go to `sink`.
    StreamStatus Feed(const uint8_t* data, size_t size, const ByteSink& sink);
    // One step of inflating into the caller's own buffer, so that the bytes
    // need no copy on their way out: takes from `input` (moved past what was
    // used, `size` lowered) and puts `made` bytes at `output` (at most
    // `capacity`, which must not be 0). On LengthMismatch nothing is made.
    // NeedMore asks for another call, with more input once `size` is 0.
    StreamStatus Inflate(const uint8_t*& input, size_t& size, uint8_t* output, size_t capacity,
                         size_t& made);
    // To be called after the last piece: Ok only for a whole stream of the
    // declared length (whose checksum, with Checksum::ByCaller, is the caller's to check).
    StreamStatus Finish();
    uint64_t Produced() const { return produced_; }
    // With Checksum::ByCaller, once the stream has ended: the checksum it gives.
    uint32_t ExpectedAdler() const { return expectedAdler_; }

private:
    // With Checksum::ByCaller the stream's frame is read here, the deflated
    // data between header and checksum by zlib.
    enum class Frame { Header, Data, Trailer };
    bool TakeFrame(const uint8_t*& input, size_t& size, size_t length);
    StreamStatus InflateData(const uint8_t*& input, size_t& size, uint8_t* output, size_t capacity,
                             size_t& made);
    StreamStatus End(size_t inputLeft);

    struct State;
    std::unique_ptr<State> state_;
    Checksum checksum_;
    int64_t declared_;
    uint64_t produced_ = 0;
    bool ended_ = false;
    StreamStatus failed_ = StreamStatus::Ok;
    Frame frame_ = Frame::Header;
    uint8_t frameBytes_[4] = {};
    size_t frameHave_ = 0;
    uint32_t expectedAdler_ = 0;
};

// Inflates a whole packaged compressed file (length word included) in memory;
// for tests and tools that handle small data.
StreamStatus InflatePackaged(const uint8_t* data, size_t size, const ByteSink& sink);

} // namespace setupcore
