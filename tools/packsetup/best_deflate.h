// The stronger encoder behind --best: libdeflate at its highest level, which
// searches far harder for matches than zlib's level 9 yet writes an ordinary
// zlib stream (32 KiB window, the same block types), so the installer
// inflates it unchanged. libdeflate compresses a whole buffer at once: the
// file is held in memory, its size and its compressed size, while it is
// compressed.
#pragma once

#include <cstdint>
#include <vector>

namespace packsetup {

// Whether this build has the stronger encoder (the native build links
// libdeflate; Debian has none for the Windows cross build).
bool HaveBestEncoder();

// One zlib stream of `input`; false when memory ran out or the build has no
// stronger encoder.
bool DeflateBest(const std::vector<uint8_t>& input, std::vector<uint8_t>& stream);

} // namespace packsetup
