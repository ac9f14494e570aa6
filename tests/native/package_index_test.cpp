#include "byte_reader.h"
#include "package_index.h"

#include <gtest/gtest.h>

using namespace setupcore;

namespace {

PackageIndex SampleIndex() {
    PackageIndex index;
    index.appExe = "App.exe";
    index.header2 = "reserved";
    index.folderName = "Kestrel App";
    index.postInstall = "Post.exe";
    index.obsoleteFiles = {"old.dll", "older.txt"};
    index.files = {{"App.exe", 1}, {"bin\\x.dll", 0}, {"%SystemRoot%\\sys.dll", 7}};
    return index;
}

IndexParseResult Parse(const std::string& bytes) {
    return ParsePackageIndex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// Everything up to the entry count, for hand-made entry lists.
std::string HeaderWithoutEntries(int32_t obsoleteCount = 0) {
    ByteWriter out;
    out.Int32(0);
    for (const char* text : {"App.exe", "", "Folder", ""})
        out.Terminated(text);
    out.Int32(obsoleteCount);
    return out.Result();
}

} // namespace

TEST(PackageIndex, ReadsBackWhatWasWrittenInOrder) {
    IndexParseResult parsed = Parse(EncodePackageIndex(SampleIndex()));
    ASSERT_TRUE(parsed.Ok());
    const PackageIndex& index = parsed.index;
    EXPECT_EQ(index.appExe, "App.exe");
    EXPECT_EQ(index.header2, "reserved");
    EXPECT_EQ(index.folderName, "Kestrel App");
    EXPECT_EQ(index.postInstall, "Post.exe");
    EXPECT_EQ(index.obsoleteFiles, (std::vector<std::string>{"old.dll", "older.txt"}));
    ASSERT_EQ(index.files.size(), 3u);
    EXPECT_EQ(index.files[1].name, "bin\\x.dll");
    EXPECT_EQ(index.files[1].compressed, 0);
    EXPECT_EQ(index.files[2].compressed, 7);
}

TEST(PackageIndex, LeadingFourBytesAreIgnored) {
    std::string bytes = EncodePackageIndex(SampleIndex());
    bytes[0] = '\x7f';
    bytes[3] = '\xff';
    IndexParseResult parsed = Parse(bytes);
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.index.files.size(), 3u);
}

TEST(PackageIndex, ZeroOrNegativeCountsMeanEmptyLists) {
    std::string bytes = HeaderWithoutEntries(-5);
    ByteWriter entries;
    entries.Int32(1);
    entries.Counted("a.txt");
    entries.Int32(0);
    IndexParseResult parsed = Parse(bytes + entries.Result());
    ASSERT_TRUE(parsed.Ok());
    EXPECT_TRUE(parsed.index.obsoleteFiles.empty());
    ASSERT_EQ(parsed.index.files.size(), 1u);

    ByteWriter none;
    none.Int32(-1);
    parsed = Parse(HeaderWithoutEntries(0) + none.Result());
    ASSERT_TRUE(parsed.Ok());
    EXPECT_TRUE(parsed.index.files.empty());
}

TEST(PackageIndex, EmptyHeaderStringsAndTrailingBytesAreAccepted) {
    PackageIndex index;
    IndexParseResult parsed = Parse(EncodePackageIndex(index) + "trailing garbage");
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.index.appExe, "");
    EXPECT_EQ(parsed.index.postInstall, "");
}

TEST(PackageIndex, NameHoldingANulStillAdvancesByItsWholeLength) {
    ByteWriter entries;
    entries.Int32(2);
    entries.Counted(std::string("ab\0cd", 5));
    entries.Int32(1);
    entries.Counted("next.txt");
    entries.Int32(0);
    IndexParseResult parsed = Parse(HeaderWithoutEntries() + entries.Result());
    ASSERT_TRUE(parsed.Ok());
    ASSERT_EQ(parsed.index.files.size(), 2u);
    EXPECT_EQ(CutAtNul(parsed.index.files[0].name), "ab");
    EXPECT_EQ(parsed.index.files[1].name, "next.txt");
}

TEST(PackageIndex, HeaderStringsUpToTheirFieldsAreAccepted) {
    PackageIndex index;
    index.appExe = std::string(255, 'a');
    index.header2 = std::string(255, 'b');
    index.folderName = std::string(259, 'c');
    index.postInstall = std::string(259, 'd');
    EXPECT_TRUE(Parse(EncodePackageIndex(index)).Ok());
}

struct MalformedIndex {
    const char* what;
    std::string bytes;
    IndexError expected;
};

class RefusesMalformedIndex : public ::testing::TestWithParam<MalformedIndex> {};

TEST_P(RefusesMalformedIndex, WithTheReason) {
    SCOPED_TRACE(GetParam().what);
    IndexParseResult parsed = Parse(GetParam().bytes);
    EXPECT_EQ(parsed.error, GetParam().expected);
    EXPECT_LE(parsed.offset, GetParam().bytes.size());
}

namespace {

std::string WithAppExe(const std::string& appExe) {
    PackageIndex index;
    index.appExe = appExe;
    return EncodePackageIndex(index);
}

std::string WithFolderName(const std::string& folder) {
    PackageIndex index;
    index.folderName = folder;
    return EncodePackageIndex(index);
}

std::string WithEntryLength(int32_t length, const std::string& name, bool flag) {
    ByteWriter entries;
    entries.Int32(1);
    entries.Int32(length);
    entries.Bytes(name);
    if (flag)
        entries.Int32(0);
    return HeaderWithoutEntries() + entries.Result();
}

std::string WithEntryCount(int32_t count) {
    ByteWriter entries;
    entries.Int32(count);
    return HeaderWithoutEntries() + entries.Result();
}

std::vector<MalformedIndex> MalformedCases() {
    std::string whole = EncodePackageIndex(SampleIndex());
    ByteWriter obsoleteTooLong;
    obsoleteTooLong.Int32(260);
    obsoleteTooLong.Bytes(std::string(260, 'x'));
    return {
        {"empty file", "", IndexError::TooShort},
        {"three bytes", "abc", IndexError::TooShort},
        {"header without NUL", std::string(4, '\0') + "App.exe", IndexError::HeaderUnterminated},
        {"app exe over 255", WithAppExe(std::string(256, 'a')), IndexError::HeaderTooLong},
        {"folder over 259", WithFolderName(std::string(260, 'f')), IndexError::HeaderTooLong},
        {"no obsolete count", std::string(4, '\0') + std::string(4, '\0'),
         IndexError::CountMissing},
        {"no entry count", HeaderWithoutEntries(), IndexError::CountMissing},
        {"obsolete count past end", HeaderWithoutEntries(3), IndexError::NameLengthMissing},
        {"obsolete name over 259", HeaderWithoutEntries(1) + obsoleteTooLong.Result(),
         IndexError::NameLengthTooLong},
        {"negative name length", WithEntryLength(-1, "", true), IndexError::NameLengthNegative},
        {"name length over 259", WithEntryLength(260, std::string(260, 'n'), true),
         IndexError::NameLengthTooLong},
        {"name past end", WithEntryLength(50, "short", false), IndexError::NameRunsPastEnd},
        {"flag missing", WithEntryLength(5, "a.txt", false), IndexError::FlagMissing},
        {"truncated whole index", whole.substr(0, whole.size() - 2), IndexError::FlagMissing},
        {"huge entry count", HeaderWithoutEntries() + std::string("\xff\xff\xff\x7f", 4),
         IndexError::CountTooLarge},
        {"huge obsolete count", HeaderWithoutEntries(0x7fffffff), IndexError::CountTooLarge},
        {"entry count one past the cap", WithEntryCount(kMaxIndexNames + 1),
         IndexError::CountTooLarge},
        {"entry count at the cap, no entries", WithEntryCount(kMaxIndexNames),
         IndexError::NameLengthMissing},
        {"larger than any index", whole + std::string(kMaxIndexSize + 1 - whole.size(), '\0'),
         IndexError::TooLarge},
    };
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Cases, RefusesMalformedIndex, ::testing::ValuesIn(MalformedCases()));

TEST(PackageIndex, TheLargestIndexAllowedIsRead) {
    std::string whole = EncodePackageIndex(SampleIndex());
    IndexParseResult parsed = Parse(whole + std::string(kMaxIndexSize - whole.size(), '\0'));
    EXPECT_TRUE(parsed.Ok()) << DescribeIndexError(parsed.error);
}

TEST(PackageIndex, EveryTruncationIsRefusedNotMisread) {
    std::string whole = EncodePackageIndex(SampleIndex());
    for (size_t length = 0; length < whole.size(); ++length)
        EXPECT_FALSE(Parse(whole.substr(0, length)).Ok()) << "length " << length;
}
