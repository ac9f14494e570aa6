#include "packsetup/best_deflate.h"

#include <libdeflate.h>

#include <memory>

namespace packsetup {
namespace {

// libdeflate's highest level: its near-optimal parser.
constexpr int kBestLevel = 12;

struct CompressorFree {
    void operator()(libdeflate_compressor* compressor) const {
        libdeflate_free_compressor(compressor);
    }
};

} // namespace

bool HaveBestEncoder() {
    return true;
}

bool DeflateBest(const std::vector<uint8_t>& input, std::vector<uint8_t>& stream) {
    std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
        libdeflate_alloc_compressor(kBestLevel));
    if (!compressor)
        return false;
    stream.resize(libdeflate_zlib_compress_bound(compressor.get(), input.size()));
    const size_t size = libdeflate_zlib_compress(compressor.get(), input.data(), input.size(),
                                                 stream.data(), stream.size());
    stream.resize(size);
    return size != 0;
}

} // namespace packsetup
