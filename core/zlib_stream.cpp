#include "zlib_stream.h"

#include "byte_reader.h"

#include <vector>
#include <zlib.h>

namespace setupcore {

struct Inflater::State {
    z_stream z{};
    bool initialised = false;
    std::vector<uint8_t> out; // Feed's output block, made on its first use
    ~State() {
        if (initialised)
            inflateEnd(&z);
    }
};

Inflater::Inflater(int64_t declaredLength, Checksum checksum)
    : state_(new State), checksum_(checksum), declared_(declaredLength) {
    Reset(declaredLength);
}

Inflater::~Inflater() = default;

void Inflater::Reset(int64_t declaredLength) {
    declared_ = declaredLength;
    produced_ = 0;
    ended_ = false;
    failed_ = StreamStatus::Ok;
    frame_ = checksum_ == Checksum::ByCaller ? Frame::Header : Frame::Data;
    frameHave_ = 0;
    expectedAdler_ = 0;
    z_stream& z = state_->z;
    if (state_->initialised)
        inflateReset(&z);
    else if (checksum_ == Checksum::ByCaller) // raw deflate: no header, no checksum
        state_->initialised = inflateInit2(&z, -MAX_WBITS) == Z_OK;
    else
        state_->initialised = inflateInit(&z) == Z_OK;
    if (!state_->initialised)
        failed_ = StreamStatus::NoMemory;
    if (declared_ < 0)
        failed_ = StreamStatus::LengthMismatch;
}

StreamStatus Inflater::Inflate(const uint8_t*& input, size_t& size, uint8_t* output,
                               size_t capacity, size_t& made) {
    made = 0;
    if (failed_ != StreamStatus::Ok)
        return failed_;
    if (ended_)
        return failed_ = size ? StreamStatus::TrailingData : StreamStatus::Ok;
    if (frame_ == Frame::Header) {
        if (!TakeFrame(input, size, 2))
            return StreamStatus::NeedMore;
        // What zlib itself demands of the header: deflate, a window of at
        // most 32 KiB, the check bits right, and no preset dictionary.
        const unsigned method = frameBytes_[0], flags = frameBytes_[1];
        if ((method & 0x0F) != Z_DEFLATED || (method >> 4) > MAX_WBITS - 8 ||
            (method * 256 + flags) % 31 != 0 || (flags & 0x20))
            return failed_ = StreamStatus::Damaged;
        frame_ = Frame::Data;
        frameHave_ = 0;
    }
    if (frame_ == Frame::Data)
        return InflateData(input, size, output, capacity, made);
    if (!TakeFrame(input, size, 4))
        return StreamStatus::NeedMore;
    expectedAdler_ = static_cast<uint32_t>(frameBytes_[0]) << 24 |
                     static_cast<uint32_t>(frameBytes_[1]) << 16 |
                     static_cast<uint32_t>(frameBytes_[2]) << 8 | frameBytes_[3];
    return End(size);
}

StreamStatus Inflater::InflateData(const uint8_t*& input, size_t& size, uint8_t* output,
                                   size_t capacity, size_t& made) {
    z_stream& z = state_->z;
    z.next_in = const_cast<Bytef*>(input);
    z.avail_in = static_cast<uInt>(size);
    z.next_out = output;
    z.avail_out = static_cast<uInt>(capacity);
    const int rc = inflate(&z, Z_NO_FLUSH);
    input = z.next_in;
    size = z.avail_in;
    const size_t out = capacity - z.avail_out;
    produced_ += out;
    if (produced_ > static_cast<uint64_t>(declared_))
        return failed_ = StreamStatus::LengthMismatch;
    made = out;
    if (rc == Z_STREAM_END) {
        if (checksum_ == Checksum::ByInflater)
            return End(size);
        frame_ = Frame::Trailer;
        return StreamStatus::NeedMore;
    }
    if (rc == Z_MEM_ERROR)
        return failed_ = StreamStatus::NoMemory;
    if (rc != Z_OK && rc != Z_BUF_ERROR)
        return failed_ = StreamStatus::Damaged;
    return StreamStatus::NeedMore;
}

bool Inflater::TakeFrame(const uint8_t*& input, size_t& size, size_t length) {
    while (frameHave_ < length && size > 0) {
        frameBytes_[frameHave_++] = *input++;
        --size;
    }
    return frameHave_ == length;
}

StreamStatus Inflater::End(size_t inputLeft) {
    ended_ = true;
    return failed_ = inputLeft ? StreamStatus::TrailingData : StreamStatus::Ok;
}

StreamStatus Inflater::Feed(const uint8_t* data, size_t size, const ByteSink& sink) {
    std::vector<uint8_t>& out = state_->out;
    if (out.empty())
        out.resize(kStreamChunk);
    for (;;) {
        size_t made = 0;
        const StreamStatus status = Inflate(data, size, out.data(), out.size(), made);
        // What a step made is written even when the step then found damage.
        if (made && !sink(out.data(), made))
            return failed_ = StreamStatus::SinkFailed;
        if (status != StreamStatus::NeedMore)
            return status;
        if (size == 0 && made < out.size())
            return StreamStatus::NeedMore;
    }
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

uint32_t Adler32(uint32_t running, const uint8_t* data, size_t size) {
    uLong adler = running;
    while (size > 0) {
        const uInt piece = static_cast<uInt>(size < (1u << 30) ? size : (1u << 30));
        adler = adler32(adler, data, piece);
        data += piece;
        size -= piece;
    }
    return static_cast<uint32_t>(adler);
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
