// Names through the package builder: every hostile name of the shared table
// refused before a byte is written, its passing rows built and read back;
// names beyond ASCII taken in UTF-8 and stored in the publisher's code page,
// the packaged files under their Unicode names.
#include "hostile_names.h"
#include "packsetup_test_support.h"

#include "package_index.h"
#include "packsetup/code_page.h"
#include "packsetup/package_input.h"
#include "packsetup/path_display.h"

using namespace packsetup;
using namespace packsetup_test;
using hostile_names::NameRow;
using hostile_names::Slot;

namespace {

class PackageNames : public PackageFixture {
protected:
    // OneFilePlan with `name` in `slot`, written to an output directory of
    // its own.
    PackagePlan PlanWith(Slot slot, const std::string& name, const std::string& outName) {
        PackagePlan plan = OneFilePlan();
        plan.outDir = root_ / outName;
        if (std::string* header = hostile_names::HeaderIn(plan, slot))
            *header = name;
        else if (slot == Slot::Entry)
            plan.entries.push_back(Entry("odd", name, "x"));
        else
            plan.obsoleteNames.push_back(name);
        return plan;
    }

    // The index the build wrote, read with the lead bytes of `codePage`.
    static setupcore::IndexParseResult WrittenIndex(const fs::path& outDir, unsigned codePage) {
        const std::string bytes = ReadAll(outDir / kIndexFileName);
        return setupcore::ParsePackageIndex(reinterpret_cast<const uint8_t*>(bytes.data()),
                                            bytes.size(), LeadBytesOf(codePage));
    }

    // Refused with `message` in the error, and no output directory made.
    static ::testing::AssertionResult RefusedWith(const PackagePlan& plan,
                                                  const std::string& message) {
        std::string error;
        if (BuildPackage(plan, error))
            return ::testing::AssertionFailure() << "the package was built";
        if (error.find(message) == std::string::npos)
            return ::testing::AssertionFailure() << "message without " << message << ": " << error;
        if (fs::exists(plan.outDir))
            return ::testing::AssertionFailure() << "the output directory was made";
        return ::testing::AssertionSuccess();
    }
};

TEST_F(PackageNames, RefusesEveryHostileNameNamingItAndWhyAndBuildsTheRest) {
    int row = 0;
    for (const NameRow& name : hostile_names::HostileNames()) {
        SCOPED_TRACE(name.what);
        const PackagePlan plan = PlanWith(name.slot, name.name, "out" + std::to_string(row++));
        if (name.fault != setupcore::NameFault::None) {
            EXPECT_TRUE(RefusedWith(plan, Quoted(name.name) + " " +
                                              setupcore::DescribeNameFault(name.fault)));
            continue;
        }
        ASSERT_TRUE(Built(plan));
        const setupcore::IndexParseResult parsed = WrittenIndex(plan.outDir, 1252);
        EXPECT_TRUE(parsed.Ok()) << setupcore::DescribeIndexError(parsed.error);
        EXPECT_NE(ReadAll(plan.outDir / kIndexFileName).find(name.name), std::string::npos);
    }
}

TEST_F(PackageNames, StoresWesternNamesInCodePage1252AndTheFilesUnderTheirUnicodeNames) {
    PackagePlan plan = BasePlan();
    plan.appExe = "Café.exe";
    plan.folderName = "Kestrel Grüße";
    plan.obsoleteNames = {"Alt\\Übung.dll"};
    plan.entries = {Entry("cafe.exe", "Café.exe", "program", true),
                    Entry("gruesse.txt", "docs\\Grüße.txt", "text", true)};
    ASSERT_TRUE(Built(plan));

    const setupcore::IndexParseResult parsed = WrittenIndex(out_, 1252);
    ASSERT_TRUE(parsed.Ok()) << setupcore::DescribeIndexError(parsed.error);
    EXPECT_EQ(parsed.index.appExe, "Caf\xE9.exe");
    EXPECT_EQ(parsed.index.folderName, "Kestrel Gr\xFC\xDF"
                                       "e");
    EXPECT_EQ(parsed.index.obsoleteFiles, std::vector<std::string>{"Alt\\\xDC"
                                                                   "bung.dll"});
    ASSERT_EQ(parsed.index.files.size(), 2u);
    EXPECT_EQ(parsed.index.files[1].name, "docs\\Gr\xFC\xDF"
                                          "e.txt");
    // Wine finds the ANSI name "Gr\xFC\xDF" "e.txt" as the UTF-8 name of the Unix file.
    EXPECT_EQ(ReadAll(out_ / fs::u8path("Café.exe")), "program");
    EXPECT_EQ(ReadAll(out_ / fs::u8path("Grüße.txt")), "text");
}

TEST_F(PackageNames, StoresJapaneseNamesWhoseTrailByteIsABackslash) {
    PackagePlan plan = BasePlan();
    plan.codePage = 932;
    plan.entries = {Entry("k.exe", "Kestrel.exe", "program"),
                    Entry("hyou.txt", "表\\表.txt", "table", true)};
    ASSERT_TRUE(Built(plan));

    const setupcore::IndexParseResult parsed = WrittenIndex(out_, 932);
    ASSERT_TRUE(parsed.Ok()) << setupcore::DescribeIndexError(parsed.error);
    ASSERT_EQ(parsed.index.files.size(), 2u);
    EXPECT_EQ(parsed.index.files[1].name, "\x95\x5C\\\x95\x5C.txt");
    EXPECT_FALSE(WrittenIndex(out_, 1252).Ok()) << "read byte by byte, 0x5C would separate";
    EXPECT_EQ(ReadAll(out_ / fs::u8path("表.txt")), "table");
}

TEST_F(PackageNames, RefusesTextTheCodePageCannotHoldNamingTheCharacter) {
    struct Row {
        const char* what;
        unsigned codePage;
        Slot slot;
        std::string name;
        std::string message;
    };
    const Row rows[] = {
        {"Chinese in Western", 1252, Slot::Entry, "docs\\表.txt",
         "the packaged name \"docs\\表.txt\" holds \"表\", which code page 1252 cannot hold"},
        {"no best fit to a plain letter", 1252, Slot::Entry, "ā.txt", "holds \"ā\", which"},
        {"Western accent in Japanese", 932, Slot::Obsolete, "café.dll",
         "the obsolete name \"café.dll\" holds \"é\", which code page 932 cannot hold"},
        {"Cyrillic main program in Western", 1252, Slot::AppExe, "Пример.exe",
         "(--app-exe) \"Пример.exe\" holds \"П\""},
        {"Greek folder in Central European", 1250, Slot::FolderName, "Ωmega",
         "(--folder-name) \"Ωmega\" holds \"Ω\", which code page 1250"},
        {"Latin-1 bytes instead of UTF-8", 1252, Slot::Entry, "caf\xE9.txt",
         "the packaged name \"caf\xE9.txt\" is not valid UTF-8"},
        {"UTF-8 is no ANSI code page", 65001, Slot::Entry, "x.txt",
         "code page 65001 is no ANSI code page of Windows"},
    };
    int row = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PackagePlan plan = PlanWith(r.slot, r.name, "out" + std::to_string(row++));
        plan.codePage = r.codePage;
        EXPECT_TRUE(RefusedWith(plan, r.message));
    }
}

TEST_F(PackageNames, FieldLimitsCountTheBytesOfTheCodePage) {
    std::string accents;
    for (int i = 0; i < 250; ++i)
        accents += "é";
    PackagePlan fits = PlanWith(Slot::AppExe, accents + "e.exe", "fits"); // 255 bytes in 1252
    EXPECT_TRUE(Built(fits));
    PackagePlan over = PlanWith(Slot::AppExe, accents + "ee.exe", "over");
    EXPECT_TRUE(RefusedWith(over, "is 256 bytes long in code page 1252"));
}

TEST_F(PackageNames, FolderAndManifestNamesAreReadAsUtf8) {
    AddInput("Grüße/Übung.txt", "exercise");
    CommandLine line = Line(in_);
    line.appExe = "Grüße\\Übung.txt";
    PackagePlan plan;
    std::string error;
    ASSERT_TRUE(AssemblePlan(line, plan, error)) << error;
    ASSERT_EQ(plan.entries.size(), 1u);
    EXPECT_EQ(plan.entries[0].name, "Grüße\\Übung.txt");
    ASSERT_TRUE(Built(plan));
    EXPECT_EQ(WrittenIndex(out_, 1252).index.files[0].name, "Gr\xFC\xDF"
                                                            "e\\\xDC"
                                                            "bung.txt");

    WriteAll(root_ / "m" / "package.txt", "file \"../in/Grüße/Übung.txt\" \"Ä\\Ö.txt\"\n");
    line.input = (root_ / "m" / "package.txt").u8string();
    ASSERT_TRUE(AssemblePlan(line, plan, error)) << error;
    ASSERT_EQ(plan.entries.size(), 1u);
    EXPECT_EQ(plan.entries[0].name, "Ä\\Ö.txt");
    EXPECT_EQ(ReadAll(plan.entries[0].source), "exercise");
}

} // namespace

namespace {

TEST_F(PackageNames, RefusesFileNamesThatDifferOnlyInCaseInAnyAlphabet) {
    struct Row {
        const char* what;
        unsigned codePage;
        const char* first;
        const char* second;
    };
    const Row rows[] = {
        {"Western", 1252, "docs\\Übung.txt", "DOCS\\übung.TXT"},
        {"Y with diaeresis", 1252, "Ÿ.txt", "ÿ.txt"},
        {"Central European", 1250, "Łódź.txt", "łóDŹ.txt"},
        {"Turkish", 1254, "ŞEKER.txt", "şeker.txt"},
        {"Greek", 1253, "ΩΜΕΓΑ.txt", "ωμεγα.txt"},
        {"Cyrillic", 1251, "ЁЖИК.txt", "ёжик.txt"},
        {"full-width Latin", 932, "ＡＢ.txt", "ａｂ.txt"},
    };
    int row = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PackagePlan plan = PlanWith(Slot::Entry, r.first, "out" + std::to_string(row++));
        plan.codePage = r.codePage;
        plan.entries.push_back(Entry("second", r.second, "y"));
        EXPECT_TRUE(RefusedWith(plan, "would both be stored as"));
    }
    PackagePlan distinct = PlanWith(Slot::Entry, "a.txt", "distinct");
    distinct.entries.push_back(Entry("second", "á.txt", "y"));
    EXPECT_TRUE(Built(distinct)) << "an accent makes another letter";
}

} // namespace
