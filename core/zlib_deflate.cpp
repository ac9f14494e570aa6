#include "zlib_deflate.h"

#include <vector>
#include <zlib.h>

namespace setupcore {

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

} // namespace setupcore
