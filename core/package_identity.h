// What a package may say about itself: the version it installs and its
// publisher, which the uninstall entry shows to package managers. It rides
// after the last entry of Setup.dat, where ParsePackageIndex has always
// stopped reading, so every reader of the index reads such a package as
// before.
//
// The trailer, right after the last entry and running to the end of the file
// (integers little-endian):
//   8 bytes   signature "PKIDENT1"
//   int32 V   length of the version text, 0 to kMaxVersionText
//   V bytes   version text, "X.Y[.Z[.W]]" (version_text.h), or none
//   int32 P   length of the publisher, 0 to kMaxPublisher
//   P bytes   publisher, in the package's code page: no NUL, no control character
//   int32 T   length of the whole trailer, these four bytes included
// V and P are not both 0. Anything else after the last entry, or nothing,
// means the package states no identity: the package itself stays good.
#pragma once

#include "packaged_name_rule.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace setupcore {

constexpr size_t kMaxPublisher = 255;

struct PackageIdentity {
    std::string version;   // "X.Y[.Z[.W]]", or empty when not stated
    std::string publisher; // in the package's code page, or empty when not stated
    bool Empty() const { return version.empty() && publisher.empty(); }
    bool operator==(const PackageIdentity& o) const {
        return version == o.version && publisher == o.publisher;
    }
};

// Whether `identity` can be stored: a version that ParseVersionText takes (or
// none), a publisher within kMaxPublisher bytes without NUL or control
// characters (or none).
bool IsStorableIdentity(const PackageIdentity& identity);

// The trailer to append after the index's bytes; empty when `identity` is
// empty or not storable, so a package without identity is written as ever.
std::string EncodePackageIdentity(const PackageIdentity& identity);

// The identity of a trailer that spans `data` exactly (the bytes after the
// index's last entry); empty when there is none or it is malformed.
PackageIdentity DecodeIdentityTrailer(const uint8_t* data, size_t size);

// The identity stated by a whole Setup.dat; empty when the index is refused
// or states none. `isLead` as for ParsePackageIndex.
PackageIdentity DecodePackageIdentity(const uint8_t* data, size_t size,
                                      LeadBytePredicate isLead = NoLeadBytes);

} // namespace setupcore
