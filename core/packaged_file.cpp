#include "packaged_file.h"

#include "byte_reader.h"

namespace setupcore {

PackagedFileWriter::PackagedFileWriter(ByteSink sink, int32_t declaredLength)
    : sink_(std::move(sink)) {
    ByteWriter length;
    length.Int32(declaredLength);
    const std::string& word = length.Result();
    if (!sink_(reinterpret_cast<const uint8_t*>(word.data()), word.size()))
        status_ = StreamStatus::SinkFailed;
}

StreamStatus PackagedFileWriter::Feed(const uint8_t* data, size_t size) {
    if (status_ == StreamStatus::Ok)
        status_ = deflater_.Feed(data, size, sink_);
    return status_;
}

StreamStatus PackagedFileWriter::Finish() {
    if (status_ == StreamStatus::Ok)
        status_ = deflater_.Finish(sink_);
    return status_;
}

std::string PackBytes(const std::string& data, int32_t declaredLength) {
    std::string packed;
    PackagedFileWriter writer(
        [&packed](const uint8_t* bytes, size_t size) {
            packed.append(reinterpret_cast<const char*>(bytes), size);
            return true;
        },
        declaredLength);
    writer.Feed(data);
    writer.Finish();
    return packed;
}

std::string PackBytes(const std::string& data) {
    return PackBytes(data, static_cast<int32_t>(data.size()));
}

} // namespace setupcore
