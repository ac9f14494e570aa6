// Text-like pseudo-random data for the benchmark's files: lines of words from
// a fixed vocabulary, common words far more often than rare ones, now and then
// a number. It deflates to about 40 %, much as an application's own files
// would. The same seed gives the same text in every process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// xorshift64: cheap, and the same sequence on every build.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Below(uint32_t bound) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 16) % bound;
    }

private:
    uint64_t state_;
};

class TextGenerator {
public:
    explicit TextGenerator(uint64_t seed);
    // The next `size` bytes of the text.
    void Fill(char* out, size_t size);

private:
    void NextLine();
    void AppendNumber();
    void AppendWord();

    Random random_;
    std::vector<std::string> words_ = std::vector<std::string>(4096);
    std::string line_;
    size_t next_ = 0;
};

} // namespace bench
