// Any bytes given as Setup.dat are either parsed within bounds or refused, and
// the identity after its last entry is either read whole or not at all.
#include "package_identity.h"
#include "package_index.h"

#include <cstdlib>
#include <cstring>

namespace {

// A stated identity is exactly what its encoding writes, so a decoder that
// took more or less than the trailer's bytes is caught.
void CheckIdentity(const uint8_t* trailer, size_t size) {
    const setupcore::PackageIdentity identity = setupcore::DecodeIdentityTrailer(trailer, size);
    if (identity.Empty())
        return;
    const std::string again = setupcore::EncodePackageIdentity(identity);
    if (again.size() != size || std::memcmp(again.data(), trailer, size) != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    setupcore::IndexParseResult parsed = setupcore::ParsePackageIndex(data, size);
    if (parsed.offset > size || parsed.end > size)
        std::abort();
    CheckIdentity(data, size); // the trailer decoder on its own, from byte 0
    const setupcore::PackageIdentity whole = setupcore::DecodePackageIdentity(data, size);
    if (parsed.Ok()) {
        // What was read must encode to a prefix-equal index that reads the same.
        std::string again = setupcore::EncodePackageIndex(parsed.index);
        setupcore::IndexParseResult reparsed = setupcore::ParsePackageIndex(
            reinterpret_cast<const uint8_t*>(again.data()), again.size());
        if (!reparsed.Ok() || reparsed.index.files.size() != parsed.index.files.size() ||
            parsed.end != again.size())
            std::abort();
        CheckIdentity(data + parsed.end, size - parsed.end);
        if (!(whole == setupcore::DecodeIdentityTrailer(data + parsed.end, size - parsed.end)))
            std::abort();
    } else if (!whole.Empty()) {
        std::abort(); // a refused index states nothing
    }
    return 0;
}
