// Any bytes given as a compressed packaged file inflate to at most the
// declared length, or are refused.
#include "zlib_stream.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int32_t declared = 0;
    if (size >= 4)
        std::memcpy(&declared, data, 4);
    size_t produced = 0;
    setupcore::StreamStatus status =
        setupcore::InflatePackaged(data, size, [&produced](const uint8_t*, size_t n) {
            produced += n;
            return true;
        });
    if (status == setupcore::StreamStatus::Ok && produced != static_cast<size_t>(declared))
        std::abort();
    if (declared >= 0 && produced > static_cast<size_t>(declared) + setupcore::kStreamChunk)
        std::abort();
    return 0;
}
