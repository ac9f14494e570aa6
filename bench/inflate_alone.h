// What inflating alone costs on this machine, with nothing read or written in
// the timing: each packaged file is read whole into memory first, then
// inflated into one reused 256 KiB buffer, either file after file on one
// thread or each file on a thread of its own. The second against the first
// is the most that inflating files side by side can gain here (the cores, and
// what else the machine runs, set it); the bare loop against the first shows
// what reading and writing add.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct InflateAloneResult {
    double seconds = 0;
    uint64_t bytes = 0; // inflated, all files together
    std::string error;
};

// `packaged`: the packaged compressed files (length word, zlib stream).
InflateAloneResult InflateAlone(const std::vector<std::string>& packaged, bool threadPerFile);

} // namespace bench
