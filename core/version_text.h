// A version as people write it: two to four decimal numbers joined by dots
// (1.2, 1.2.3, 1.2.3.4), each at most 65535, as a file's version resource
// holds them. Package managers read the first two as the major and minor
// version.
#pragma once

#include <cstdint>
#include <string>

namespace setupcore {

constexpr size_t kMaxVersionText = 23; // "65535.65535.65535.65535"

struct VersionNumbers {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t build = 0;    // 0 when the text does not give it
    uint16_t revision = 0; // 0 when the text does not give it
};

// True when `text` is exactly X.Y, X.Y.Z or X.Y.Z.W: digits only, no sign,
// no blank, no empty part. Anything else leaves `out` untouched.
bool ParseVersionText(const std::string& text, VersionNumbers& out);

} // namespace setupcore
