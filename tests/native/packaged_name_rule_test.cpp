// The name rule as the index reader applies it: every name form in the
// hostile table, in the place of the index where it stands.
#include "byte_reader.h"
#include "hostile_names.h"
#include "package_index.h"

#include <gtest/gtest.h>

#include <set>

using namespace setupcore;
using hostile_names::NameRow;
using hostile_names::Slot;

namespace {

// A code page in which 0x81 to 0x9F lead a double-byte character.
bool ShiftJisLike(unsigned char byte) {
    return byte >= 0x81 && byte <= 0x9F;
}

// A sound index with `name` in `slot`.
PackageIndex IndexWith(Slot slot, const std::string& name) {
    PackageIndex index;
    index.appExe = "App.exe";
    index.folderName = "Kestrel";
    index.files = {{"App.exe", 1}};
    if (std::string* header = hostile_names::HeaderIn(index, slot))
        *header = name;
    else if (slot == Slot::Entry)
        index.files.push_back({name, 0});
    else
        index.obsoleteFiles = {"old.dll", name};
    return index;
}

IndexParseResult Parse(const std::string& bytes, LeadBytePredicate isLead = NoLeadBytes) {
    return ParsePackageIndex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), isLead);
}

// Parsed with the name in its slot: refused for the row's reason, pointing at
// the name, or read back whole.
void ExpectReadAsTheRowSays(const NameRow& row, LeadBytePredicate isLead) {
    SCOPED_TRACE(row.what);
    const std::string bytes = EncodePackageIndex(IndexWith(row.slot, row.name));
    const IndexParseResult parsed = Parse(bytes, isLead);
    if (row.fault == NameFault::None) {
        EXPECT_TRUE(parsed.Ok()) << DescribeIndexError(parsed.error) << ", "
                                 << DescribeNameFault(parsed.nameFault);
        return;
    }
    EXPECT_EQ(parsed.error, IndexError::UnsafeName);
    EXPECT_EQ(parsed.nameFault, row.fault) << DescribeNameFault(parsed.nameFault);
    ASSERT_LE(parsed.offset, bytes.size());
    EXPECT_EQ(bytes.substr(parsed.offset, row.name.size()), row.name) << "the offset names it";
}

} // namespace

TEST(PackagedNameRule, IndexReaderRefusesEveryHostileNameAndKeepsTheRest) {
    for (const NameRow& row : hostile_names::HostileNames())
        ExpectReadAsTheRowSays(row, NoLeadBytes);
}

TEST(PackagedNameRule, DoubleByteCharactersAreSplitAsTheCodePageReadsThem) {
    // 0x95 0x5C is one character whose trail byte is a backslash.
    const std::vector<NameRow> rows = {
        {"trail byte 0x5C in the file name", Slot::Entry, "\x95\x5C.txt", NameFault::None},
        {"trail byte 0x5C ends a folder", Slot::Entry, "\x95\x5C\\x.txt", NameFault::None},
        {"trail byte 0x5C ends the name", Slot::Entry, "docs\\\x95\x5C", NameFault::None},
        {"trail byte 0x5C ends the folder name", Slot::FolderName, "Kestrel\\\x95\x5C",
         NameFault::None},
        {"climb after a double-byte folder", Slot::Entry, "\x95\x5C\\..\\x.txt",
         NameFault::DotDotPart},
        {"lead byte without its trail byte", Slot::Entry, "x\x95", NameFault::IncompleteCharacter},
        {"a trail byte hides no separator before dots", Slot::Entry, "\x95\\..",
         NameFault::EndsInDotOrBlank},
    };
    for (const NameRow& row : rows)
        ExpectReadAsTheRowSays(row, ShiftJisLike);
}

TEST(PackagedNameRule, WithoutLeadBytesATrailBackslashSeparates) {
    ExpectReadAsTheRowSays(
        {"read byte by byte", Slot::Entry, "docs\\\x95\x5C", NameFault::EmptyPart}, NoLeadBytes);
}

TEST(PackagedNameRule, WesternLettersPassInTheirCodePage) {
    ExpectReadAsTheRowSays(
        {"caf\xE9 \xFC \xDF", Slot::Entry, "caf\xE9\\gr\xFC\xDF.txt", NameFault::None},
        NoLeadBytes);
    ExpectReadAsTheRowSays({"superscript port", Slot::Entry, "COM\xB9.txt", NameFault::DeviceName},
                           NoLeadBytes);
}

TEST(PackagedNameRule, ANameIsCheckedUpToItsNulAsTheInstallerUsesIt) {
    ByteWriter entries;
    entries.Int32(2);
    entries.Counted(std::string("ok.txt\0..\\x", 11));
    entries.Int32(0);
    entries.Counted(std::string("..\\x\0ok.txt", 11));
    entries.Int32(0);
    PackageIndex header = IndexWith(Slot::Entry, "App.exe");
    header.files.clear();
    std::string bytes = EncodePackageIndex(header);
    bytes.resize(bytes.size() - 4); // without its entry count
    const IndexParseResult parsed = Parse(bytes + entries.Result());
    EXPECT_EQ(parsed.error, IndexError::UnsafeName);
    EXPECT_EQ(parsed.nameFault, NameFault::DotDotPart);
    EXPECT_EQ(parsed.index.files.size(), 1u) << "the first name passed";
}

TEST(PackagedNameRule, EveryFaultHasItsOwnWords) {
    std::set<std::string> seen;
    for (int fault = 0; fault <= static_cast<int>(NameFault::Percent); ++fault)
        EXPECT_TRUE(seen.insert(DescribeNameFault(static_cast<NameFault>(fault))).second)
            << "fault " << fault;
}
