#include "zlib_stream.h"

#include "byte_reader.h"

#include <vector>
#include <zlib.h>

namespace setupcore {

struct Inflater::State {
    z_stream z{};
    bool initialised = false;
    std::vector<uint8_t> out = std::vector<uint8_t>(kStreamChunk);
    ~State() {
        if (initialised)
            inflateEnd(&z);
    }
};

Inflater::Inflater(int64_t declaredLength) : state_(new State), declared_(declaredLength) {
    if (declared_ < 0)
        failed_ = StreamStatus::LengthMismatch;
    else if (inflateInit(&state_->z) == Z_OK)
        state_->initialised = true;
    else
        failed_ = StreamStatus::NoMemory;
}

Inflater::~Inflater() = default;

StreamStatus Inflater::Feed(const uint8_t* data, size_t size, const ByteSink& sink) {
    if (failed_ != StreamStatus::Ok)
        return failed_;
    if (ended_)
        return failed_ = size ? StreamStatus::TrailingData : StreamStatus::Ok;
    z_stream& z = state_->z;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    do {
        z.next_out = state_->out.data();
        z.avail_out = static_cast<uInt>(state_->out.size());
        int rc = inflate(&z, Z_NO_FLUSH);
        size_t made = state_->out.size() - z.avail_out;
        produced_ += made;
        if (produced_ > static_cast<uint64_t>(declared_))
            return failed_ = StreamStatus::LengthMismatch;
        if (made && !sink(state_->out.data(), made))
            return failed_ = StreamStatus::SinkFailed;
        if (rc == Z_STREAM_END) {
            ended_ = true;
            return failed_ = z.avail_in ? StreamStatus::TrailingData : StreamStatus::Ok;
        }
        if (rc == Z_MEM_ERROR)
            return failed_ = StreamStatus::NoMemory;
        if (rc != Z_OK && rc != Z_BUF_ERROR)
            return failed_ = StreamStatus::Damaged;
    } while (z.avail_in > 0 || z.avail_out == 0);
    return StreamStatus::NeedMore;
}

StreamStatus Inflater::Finish() {
    if (failed_ != StreamStatus::Ok)
        return failed_;
    if (!ended_)
        return failed_ = StreamStatus::Damaged;
    if (produced_ != static_cast<uint64_t>(declared_))
        return failed_ = StreamStatus::LengthMismatch;
    return StreamStatus::Ok;
}

struct Deflater::State {
    z_stream z{};
    bool initialised = false;
    std::vector<uint8_t> out = std::vector<uint8_t>(kStreamChunk);
    ~State() {
        if (initialised)
            deflateEnd(&z);
    }
};

Deflater::Deflater(int level) : state_(new State) {
    state_->initialised = deflateInit(&state_->z, level) == Z_OK;
}

Deflater::~Deflater() = default;

StreamStatus Deflater::Run(const uint8_t* data, size_t size, int flush, const ByteSink& sink) {
    if (!state_->initialised)
        return StreamStatus::NoMemory;
    z_stream& z = state_->z;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    int rc;
    do {
        z.next_out = state_->out.data();
        z.avail_out = static_cast<uInt>(state_->out.size());
        rc = deflate(&z, flush);
        if (rc == Z_STREAM_ERROR)
            return StreamStatus::Damaged;
        size_t made = state_->out.size() - z.avail_out;
        if (made && !sink(state_->out.data(), made))
            return StreamStatus::SinkFailed;
    } while (z.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    return StreamStatus::Ok;
}

StreamStatus Deflater::Feed(const uint8_t* data, size_t size, const ByteSink& sink) {
    return Run(data, size, Z_NO_FLUSH, sink);
}

StreamStatus Deflater::Finish(const ByteSink& sink) {
    return Run(nullptr, 0, Z_FINISH, sink);
}

StreamStatus InflatePackaged(const uint8_t* data, size_t size, const ByteSink& sink) {
    ByteReader in(data, size);
    int32_t declared = 0;
    if (!in.ReadInt32(declared))
        return StreamStatus::Damaged;
    Inflater inflater(declared);
    StreamStatus status = inflater.Feed(data + 4, size - 4, sink);
    if (status != StreamStatus::NeedMore && status != StreamStatus::Ok)
        return status;
    return inflater.Finish();
}

} // namespace setupcore
