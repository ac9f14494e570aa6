// Deflating into a zlib stream in fixed-size chunks: what the package builder,
// the tests and the benchmark use to make packaged files. Kept apart from
// inflating so that the setup program, which only inflates, imports nothing of
// zlib's compressor.
#pragma once

#include "zlib_stream.h"

#include <memory>

namespace setupcore {

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

} // namespace setupcore
