#include "package_identity.h"

#include "byte_reader.h"
#include "package_index.h"
#include "version_text.h"

namespace setupcore {
namespace {

constexpr char kSignature[] = "PKIDENT1";
constexpr size_t kSignatureSize = sizeof(kSignature) - 1;

// A control character would end or break the text where the registry shows it.
bool IsPlainText(const std::string& text) {
    for (char ch : text)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            return false;
    return true;
}

bool IsStorableVersion(const std::string& version) {
    VersionNumbers numbers;
    return version.empty() || ParseVersionText(version, numbers);
}

// A counted text of at most `maxSize` bytes.
bool ReadCounted(ByteReader& in, size_t maxSize, std::string& out) {
    int32_t length = 0;
    return in.ReadInt32(length) && length >= 0 && static_cast<size_t>(length) <= maxSize &&
           in.ReadBytes(static_cast<size_t>(length), out);
}

} // namespace

bool IsStorableIdentity(const PackageIdentity& identity) {
    return IsStorableVersion(identity.version) && identity.publisher.size() <= kMaxPublisher &&
           IsPlainText(identity.publisher);
}

std::string EncodePackageIdentity(const PackageIdentity& identity) {
    if (identity.Empty() || !IsStorableIdentity(identity))
        return {};
    ByteWriter out;
    out.Bytes(kSignature, kSignatureSize);
    out.Counted(identity.version);
    out.Counted(identity.publisher);
    const size_t total = out.Result().size() + 4;
    out.Int32(static_cast<int32_t>(total));
    return out.Result();
}

PackageIdentity DecodeIdentityTrailer(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    std::string signature;
    PackageIdentity identity;
    int32_t total = 0;
    const bool read = in.ReadBytes(kSignatureSize, signature) && signature == kSignature &&
                      ReadCounted(in, kMaxVersionText, identity.version) &&
                      ReadCounted(in, kMaxPublisher, identity.publisher) && in.ReadInt32(total) &&
                      in.AtEnd() && static_cast<size_t>(total) == size;
    if (!read || !IsStorableIdentity(identity)) // both empty reads as none too
        return {};
    return identity;
}

PackageIdentity DecodePackageIdentity(const uint8_t* data, size_t size, LeadBytePredicate isLead) {
    const IndexParseResult parsed = ParsePackageIndex(data, size, isLead);
    if (!parsed.Ok())
        return {};
    return DecodeIdentityTrailer(data + parsed.end, size - parsed.end);
}

} // namespace setupcore
