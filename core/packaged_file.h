// The packaged form of a compressed file: an int32 little-endian declared
// length, then one zlib stream. One writer serves the tests, the benchmark and
// anything else that has to make such a file.
#pragma once

#include "zlib_deflate.h"

#include <cstdint>
#include <string>

namespace setupcore {

class PackagedFileWriter {
public:
    // Sends the length word to `sink` at once; the stream follows with Feed.
    PackagedFileWriter(ByteSink sink, int32_t declaredLength);

    StreamStatus Feed(const uint8_t* data, size_t size);
    StreamStatus Feed(const std::string& data) {
        return Feed(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    }
    // Ends the stream; Ok when every byte reached the sink.
    StreamStatus Finish();

private:
    ByteSink sink_;
    Deflater deflater_;
    StreamStatus status_ = StreamStatus::Ok;
};

// The whole packaged form of `data` in memory, declaring its true length.
std::string PackBytes(const std::string& data);
// The same with any declared length, for files that lie about their size.
std::string PackBytes(const std::string& data, int32_t declaredLength);

} // namespace setupcore
