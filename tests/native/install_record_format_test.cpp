#include "byte_reader.h"
#include "install_record.h"
#include "install_record_format.h"

#include <gtest/gtest.h>

using namespace setupcore;

namespace {

RecordParseResult Decode(const std::string& bytes) {
    return DecodeInstallRecord(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

InstallRecordData Sample() {
    return {"C:\\Program Files\\Kestrel",
            "",
            {"C:\\Program Files\\Kestrel\\App.exe", "%REG_CURRENT_USER%Software\\A\\B\\",
             "C:\\Program Files\\Kestrel\\", std::string(1023, 'x')}};
}

std::string Record(const std::string& dir, const std::vector<std::string>& items,
                   bool terminated = true) {
    ByteWriter out;
    out.Bytes(kRecordSignature, kRecordSignatureSize);
    out.Counted(dir);
    out.Counted("");
    for (const std::string& item : items)
        out.Counted(item);
    if (terminated)
        out.Int32(-1);
    return out.Result();
}

} // namespace

TEST(InstallRecordFormat, LayoutIsSignatureStringsItemsAndMinusOne) {
    std::string bytes = EncodeInstallRecord({"C:\\A", "", {"x"}});
    std::string expected("Kestrel\0\0\0\1\0\0\0\1", 15);
    expected += std::string("\4\0\0\0C:\\A", 8) + std::string("\0\0\0\0", 4) +
                std::string("\1\0\0\0x", 5) + std::string("\xff\xff\xff\xff", 4);
    EXPECT_EQ(bytes, expected);
}

TEST(InstallRecordFormat, RoundTripKeepsDirectoryItemsAndOrder) {
    RecordParseResult parsed = Decode(EncodeInstallRecord(Sample()));
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.record.installDir, Sample().installDir);
    EXPECT_EQ(parsed.record.reserved, "");
    EXPECT_EQ(parsed.record.items, Sample().items);
}

TEST(InstallRecordFormat, EverySignatureByteIsChecked) {
    std::string good = EncodeInstallRecord(Sample());
    for (size_t i = 0; i < kRecordSignatureSize; ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x20);
        EXPECT_EQ(Decode(bad).error, RecordError::BadSignature) << "byte " << i;
    }
    EXPECT_EQ(Decode(good.substr(0, 14)).error, RecordError::BadSignature);
}

TEST(InstallRecordFormat, ZeroLengthEndsTheItemsLikeTheTerminator) {
    std::string bytes = Record("C:\\A", {"first"}, false);
    ByteWriter rest;
    rest.Int32(0);
    rest.Counted("never read");
    rest.Int32(-1);
    RecordParseResult parsed = Decode(bytes + rest.Result());
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.record.items, std::vector<std::string>{"first"});
}

TEST(InstallRecordFormat, RefusesRecordsThatRunPastTheirEnd) {
    EXPECT_EQ(Decode(Record("C:\\A", {"a"}, false)).error, RecordError::NoTerminator);
    std::string whole = Record("C:\\A", {"abc", "def"});
    for (size_t length = kRecordSignatureSize; length < whole.size(); ++length)
        EXPECT_FALSE(Decode(whole.substr(0, length)).Ok()) << "length " << length;
}

TEST(InstallRecordFormat, RefusesLengthsOverTheirFields) {
    EXPECT_EQ(Decode(Record(std::string(260, 'd'), {})).error, RecordError::StringTooLong);
    EXPECT_TRUE(Decode(Record(std::string(259, 'd'), {})).Ok());
    EXPECT_EQ(Decode(Record("C:\\A", {std::string(1024, 'i')})).error, RecordError::ItemTooLong);

    ByteWriter negative;
    negative.Bytes(kRecordSignature, kRecordSignatureSize);
    negative.Int32(-4);
    EXPECT_EQ(Decode(negative.Result()).error, RecordError::StringTooLong);

    ByteWriter pastEnd;
    pastEnd.Bytes(kRecordSignature, kRecordSignatureSize);
    pastEnd.Counted("C:\\A");
    pastEnd.Counted("");
    pastEnd.Int32(500);
    pastEnd.Bytes("short");
    EXPECT_EQ(Decode(pastEnd.Result()).error, RecordError::RunsPastEnd);
}

TEST(InstallRecordFormat, ANulInsideATextIsADamagedRecord) {
    // No installation writes one; read as text it would name something shorter.
    EXPECT_EQ(Decode(Record("C:\\A", {std::string("\0C:\\x", 5)})).error, RecordError::NulInText);
    EXPECT_EQ(Decode(Record("C:\\A", {std::string("a\0b", 3)})).error, RecordError::NulInText);
    EXPECT_EQ(Decode(Record(std::string("C:\\A\0", 5), {})).error, RecordError::NulInText);
}

TEST(InstallRecordFormat, TheMadeListIsNoRecordAndNoRecordAMadeList) {
    const std::string list = EncodeInstallRecord({"C:\\A", "", {"C:\\A\\"}}, kMadeListSignature);
    EXPECT_EQ(Decode(list).error, RecordError::BadSignature);
    const RecordParseResult parsed = DecodeInstallRecord(
        reinterpret_cast<const uint8_t*>(list.data()), list.size(), kMadeListSignature);
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.record.items, std::vector<std::string>{"C:\\A\\"});
}

TEST(InstallRecordFormat, EmptyItemsAreLeftOutSoTheyCannotEndTheList) {
    RecordParseResult parsed =
        Decode(EncodeInstallRecord({"C:\\A", "", {"first", "", std::string("\0x", 2), "last"}}));
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.record.items, (std::vector<std::string>{"first", "last"}));
}

TEST(InstallRecordFormat, RefusesRecordsLargerThanAnyInstallationWrites) {
    const std::vector<std::string> most(kMaxRecordItems, "i");
    EXPECT_TRUE(Decode(Record("C:\\A", most)).Ok());
    std::vector<std::string> tooMany = most;
    tooMany.push_back("i");
    EXPECT_EQ(Decode(Record("C:\\A", tooMany)).error, RecordError::TooManyItems);

    const std::string whole = Record("C:\\A", {"a"});
    EXPECT_TRUE(Decode(whole + std::string(kMaxRecordSize - whole.size(), '\0')).Ok());
    EXPECT_EQ(Decode(whole + std::string(kMaxRecordSize + 1 - whole.size(), '\0')).error,
              RecordError::TooLarge);
}

TEST(InstallRecord, DecodesIntoTypedItemsAndEncodesByteForByte) {
    const InstallRecordData data = Sample();
    const std::string bytes = EncodeInstallRecord(data);
    InstallRecord record;
    ASSERT_EQ(DecodeRecord(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                           NoLeadBytes, record),
              RecordError::None);
    EXPECT_EQ(record.items[1].kind, ItemKind::RegistryKey);
    EXPECT_EQ(record.items[2].kind, ItemKind::Directory);
    EXPECT_EQ(EncodeRecord(record), bytes);
    // An item no installation writes is kept as it stood.
    InstallRecord odd{"C:\\A", {ClassifyItem("%REG_CURRENT_USER%NoParent", NoLeadBytes)}};
    EXPECT_EQ(EncodeRecord(odd),
              EncodeInstallRecord({"C:\\A", "", {"%REG_CURRENT_USER%NoParent"}}));
}

TEST(InstallRecord, ComparesAndMergesItemsWhateverTheirLetterCase) {
    const auto item = [](const char* text) { return ClassifyItem(text, NoLeadBytes); };
    const InstallRecord older{"C:\\App",
                              {item("C:\\App\\a.txt"), item("C:\\App\\gone.txt"),
                               item("%REG_CURRENT_USER%Software\\K\\"), item("C:\\App\\docs\\")}};
    const InstallRecord newer{"C:\\App",
                              {item("c:\\app\\A.TXT"), item("%REG_CURRENT_USER%software\\k\\"),
                               item("C:\\App\\docs"), item("C:\\App\\new.txt")}};
    ASSERT_NE(newer.Find(item("C:\\APP\\a.txt")), nullptr);
    EXPECT_EQ(newer.Find(item("C:\\App\\docs\\")), nullptr) << "a directory is no file";
    const std::vector<RecordItem> left = older.NotIn(newer);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(EncodeItem(left[0]), "C:\\App\\gone.txt");
    EXPECT_EQ(EncodeItem(left[1]), "C:\\App\\docs\\");
    InstallRecord merged = newer;
    merged.Merge(older);
    EXPECT_EQ(merged.items.size(), 6u);
    EXPECT_TRUE(older.NotIn(merged).empty());
    EXPECT_EQ(EncodeItem(merged.items[4]), "C:\\App\\gone.txt") << "appended in the older order";
}
