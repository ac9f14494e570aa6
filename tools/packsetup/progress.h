// Progress of a build by bytes read, for packages large enough that the wait
// needs explaining. Small packages build without a word.
#pragma once

#include <cstdint>
#include <ostream>

namespace packsetup {

constexpr uint64_t kDefaultProgressThreshold = 64ull * 1024 * 1024;

struct ProgressSettings {
    std::ostream* out = nullptr;                    // null: never report
    uint64_t threshold = kDefaultProgressThreshold; // packages up to this many bytes stay quiet
    unsigned step = 5;                              // percent between two lines
};

class ProgressMeter {
public:
    ProgressMeter(const ProgressSettings& settings, uint64_t totalBytes);

    // Counts bytes read from the packaged files; prints a line each time
    // another `step` percent is done.
    void Advance(uint64_t bytes);

private:
    void Print(unsigned percent) const;

    std::ostream* out_;
    uint64_t total_;
    uint64_t done_ = 0;
    unsigned step_;
    unsigned lastPrinted_ = 0;
};

} // namespace packsetup
