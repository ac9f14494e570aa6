// The baseline the copy run is held against: ReadFile, inflate, WriteFile in
// the copy run's chunk size, with the buffers and the zlib state reused from
// file to file. The fastest reasonable direct use of zlib.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

class BareLoop {
public:
    BareLoop();
    ~BareLoop();
    BareLoop(const BareLoop&) = delete;
    BareLoop& operator=(const BareLoop&) = delete;

    // A packaged compressed file: the length word, then the stream inflated.
    // Returns the number of bytes written; dies on a damaged file.
    uint64_t Inflate(const std::string& sourcePath, const std::string& targetPath);
    // A plain packaged file: the same loop without inflating.
    uint64_t Copy(const std::string& sourcePath, const std::string& targetPath);

private:
    z_stream z_{};
    std::vector<uint8_t> in_, out_;
};

} // namespace bench
