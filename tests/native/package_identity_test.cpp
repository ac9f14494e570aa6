#include "byte_reader.h"
#include "package_identity.h"
#include "package_index.h"
#include "version_text.h"

#include <gtest/gtest.h>

using namespace setupcore;

namespace {

std::string SampleIndexBytes() {
    PackageIndex index;
    index.appExe = "App.exe";
    index.folderName = "Kestrel App";
    index.obsoleteFiles = {"old.dll"};
    index.files = {{"App.exe", 1}, {"bin\\x.dll", 0}};
    return EncodePackageIndex(index);
}

const uint8_t* Bytes(const std::string& text) {
    return reinterpret_cast<const uint8_t*>(text.data());
}

PackageIdentity Decode(const std::string& whole) {
    return DecodePackageIdentity(Bytes(whole), whole.size());
}

IndexParseResult Parse(const std::string& whole) {
    return ParsePackageIndex(Bytes(whole), whole.size());
}

// A trailer laid out by hand, so that each field can lie. `total` < 0 means
// the true length.
std::string Trailer(const std::string& signature, int32_t versionLength, const std::string& version,
                    int32_t publisherLength, const std::string& publisher, int32_t total = -1) {
    ByteWriter out;
    out.Bytes(signature);
    out.Int32(versionLength);
    out.Bytes(version);
    out.Int32(publisherLength);
    out.Bytes(publisher);
    out.Int32(total >= 0 ? total : static_cast<int32_t>(out.Result().size() + 4));
    return out.Result();
}

std::string Trailer(const std::string& version, const std::string& publisher) {
    return Trailer("PKIDENT1", static_cast<int32_t>(version.size()), version,
                   static_cast<int32_t>(publisher.size()), publisher);
}

} // namespace

TEST(PackageIdentity, ReadsBackWhatWasStored) {
    const struct {
        const char* name;
        PackageIdentity identity;
    } rows[] = {
        {"version and publisher", {"1.0.0.0", "Kestrel Software"}},
        {"version only", {"2.5", ""}},
        {"publisher only", {"", "Kestrel Software"}},
        {"publisher in a code page", {"65535.65535.65535.65535", "Caf\xe9 \x95\x5c Ltd."}},
        {"publisher of the longest", {"3.1.4", std::string(kMaxPublisher, 'p')}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string trailer = EncodePackageIdentity(row.identity);
        EXPECT_EQ(trailer, Trailer(row.identity.version, row.identity.publisher));
        EXPECT_EQ(Decode(SampleIndexBytes() + trailer), row.identity);
    }
}

TEST(PackageIdentity, NoIdentityAddsNoBytesAndReadsAsNone) {
    EXPECT_EQ(EncodePackageIdentity(PackageIdentity()), "");
    EXPECT_TRUE(Decode(SampleIndexBytes()).Empty());
}

TEST(PackageIdentity, IndexWithTrailerParsesAsWithout) {
    const std::string bare = SampleIndexBytes();
    const std::string whole = bare + EncodePackageIdentity({"1.2", "Kestrel Software"});
    const IndexParseResult parsed = Parse(whole);
    ASSERT_TRUE(parsed.Ok()) << DescribeIndexError(parsed.error);
    EXPECT_EQ(EncodePackageIndex(parsed.index), bare);
    EXPECT_EQ(parsed.end, bare.size());
}

TEST(PackageIdentity, UnstorableIdentityIsNotEncoded) {
    const struct {
        const char* name;
        PackageIdentity identity;
    } rows[] = {
        {"one number", {"1", ""}},
        {"letters in the version", {"1.0 beta", "Kestrel"}},
        {"publisher too long", {"1.0", std::string(kMaxPublisher + 1, 'p')}},
        {"NUL in the publisher", {"1.0", std::string("Kes\0trel", 8)}},
        {"line break in the publisher", {"1.0", "Kestrel\r\nSoftware"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(IsStorableIdentity(row.identity));
        EXPECT_EQ(EncodePackageIdentity(row.identity), "");
    }
}

// A damaged trailer costs the identity, never the package.
TEST(PackageIdentity, MalformedTrailerMeansNoIdentity) {
    const std::string good = Trailer("1.0", "Kestrel");
    const struct {
        const char* name;
        std::string trailer;
    } rows[] = {
        {"other signature", Trailer("PKIDENT2", 3, "1.0", 7, "Kestrel")},
        {"signature only", "PKIDENT1"},
        {"last byte missing", good.substr(0, good.size() - 1)},
        {"a byte after it", good + "x"},
        {"a byte before it", "x" + good},
        {"two of them", good + good},
        {"total too small", Trailer("PKIDENT1", 3, "1.0", 7, "Kestrel", 29)},
        {"total too large", Trailer("PKIDENT1", 3, "1.0", 7, "Kestrel", 31)},
        {"total counting a byte after it", Trailer("PKIDENT1", 3, "1.0", 7, "Kestrel", 31) + "x"},
        {"negative version length", Trailer("PKIDENT1", -1, "1.0", 7, "Kestrel")},
        {"version length past end", Trailer("PKIDENT1", 0x7fffffff, "1.0", 7, "Kestrel")},
        {"version over its cap", Trailer(std::string(kMaxVersionText + 1, '1'), "")},
        {"publisher over its cap", Trailer("1.0", std::string(kMaxPublisher + 1, 'p'))},
        {"publisher length short", Trailer("PKIDENT1", 3, "1.0", 6, "Kestrel")},
        {"both empty", Trailer("", "")},
        {"version of one number", Trailer("1", "Kestrel")},
        {"version with an empty part", Trailer("1..2", "Kestrel")},
        {"version part over 65535", Trailer("65536.0", "Kestrel")},
        {"NUL in the publisher", Trailer("1.0", std::string("Kes\0trel", 8))},
        {"tab in the publisher", Trailer("1.0", "Kes\ttrel")},
        {"DEL in the publisher", Trailer("1.0", "Kes\x7ftrel")},
    };
    const std::string bare = SampleIndexBytes();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string whole = bare + row.trailer;
        EXPECT_TRUE(Decode(whole).Empty());
        const IndexParseResult parsed = Parse(whole);
        ASSERT_TRUE(parsed.Ok());
        EXPECT_EQ(EncodePackageIndex(parsed.index), bare);
    }
}

TEST(PackageIdentity, RefusedIndexStatesNoIdentity) {
    PackageIndex index;
    index.appExe = "..\\App.exe"; // leaves the install directory
    index.folderName = "Kestrel App";
    const std::string whole = EncodePackageIndex(index) + Trailer("1.0", "Kestrel");
    ASSERT_FALSE(Parse(whole).Ok());
    EXPECT_TRUE(Decode(whole).Empty());
}
