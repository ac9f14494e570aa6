// Stepping through text already known to be valid UTF-8.
#pragma once

#include <cstddef>

namespace packsetup {

// The length of the sequence that `lead` starts.
inline size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead < 0xE0)
        return 2;
    return lead < 0xF0 ? 3 : 4;
}

} // namespace packsetup
