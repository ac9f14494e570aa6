// Packages the builder refuses before it writes a single byte: the message
// names the offending item and the output directory is left as it was.
#include "packsetup_test_support.h"

#include <system_error>

using namespace packsetup;
using namespace packsetup_test;

namespace {

// 259 bytes: the longest name the index holds.
const std::string kLongestName =
    std::string(100, 'd') + "\\" + std::string(100, 'e') + "\\" + std::string(57, 'f');
const std::string kWithNul("a\0b", 3);

class PackageCheck : public PackageFixture {
protected:
    // Refused with a message holding `named`; an output directory missing
    // before is still missing, one present holds no index.
    static ::testing::AssertionResult Refused(const PackagePlan& plan, const std::string& named) {
        std::error_code ec;
        const bool outDirExisted = fs::exists(plan.outDir, ec);
        std::string error;
        if (BuildPackage(plan, error))
            return ::testing::AssertionFailure() << "the package was built";
        if (error.find(named) == std::string::npos)
            return ::testing::AssertionFailure() << "message without " << named << ": " << error;
        if (fs::exists(outDirExisted ? plan.outDir / kIndexFileName : plan.outDir, ec))
            return ::testing::AssertionFailure() << "the output directory was written to";
        return ::testing::AssertionSuccess();
    }

    // OneFilePlan with a second file packaged as `name`.
    ::testing::AssertionResult RefusesName(const std::string& name, const std::string& named) {
        PackagePlan plan = OneFilePlan();
        plan.entries.push_back(Entry("odd", name, "x"));
        return Refused(plan, named);
    }

    ::testing::AssertionResult RefusesObsoleteName(const std::string& name,
                                                   const std::string& named) {
        PackagePlan plan = OneFilePlan();
        plan.obsoleteNames.push_back(name);
        return Refused(plan, named);
    }
};

// The name rule's own refusals are in packsetup_names_test.cpp.
TEST_F(PackageCheck, RefusesNamesThatWindowsCannotStoreAsTheyAre) {
    EXPECT_TRUE(RefusesName("", "packaged name is empty"));
    EXPECT_TRUE(RefusesName(kLongestName + "g", "is 260 bytes long"));
    EXPECT_TRUE(RefusesName(kWithNul, "packaged name \"a<NUL>b\" holds a NUL byte"));
    EXPECT_TRUE(RefusesName("what?.txt", "\"what?.txt\" holds '?'"));
    EXPECT_TRUE(RefusesName("a|b.txt", "\"a|b.txt\" holds '|'"));
    EXPECT_TRUE(RefusesObsoleteName(kLongestName + "g",
                                    "obsolete name \"" + kLongestName + "g\" is 260 bytes long"));
    EXPECT_TRUE(RefusesObsoleteName(kWithNul, "obsolete name \"a<NUL>b\" holds a NUL byte"));
    EXPECT_TRUE(RefusesObsoleteName("old*.dll", "obsolete name \"old*.dll\" holds '*'"));
}

TEST_F(PackageCheck, RefusesNamesTheSetupDirectoryCannotHoldApart) {
    EXPECT_TRUE(RefusesName("Setup.dat", "\"Setup.dat\" would be stored as \"Setup.dat\", a name"));
    EXPECT_TRUE(RefusesName("docs\\license.TXT", "would be stored as \"license.TXT\", a name"));
    EXPECT_TRUE(RefusesName("URL.txt", "\"URL.txt\" would be stored as \"URL.txt\", a name"));
    EXPECT_TRUE(RefusesName("SETUP.EXE", "\"SETUP.EXE\" would be stored as \"SETUP.EXE\""));
    EXPECT_TRUE(RefusesName("system\\ZLIB1.dll", "would be stored as \"ZLIB1.dll\", a name"));
    struct Row {
        const char* name;
        std::vector<std::pair<const char*, const char*>> files; // packaged name, source
        const char* named;
    };
    const Row rows[] = {
        {"one name in two letter cases",
         {{"bin\\x.dll", "one/x.dll"}, {"BIN\\X.DLL", "two/X.DLL"}},
         "\"bin\\x.dll\" and \"BIN\\X.DLL\" would both be stored as"},
        {"a repeated name at the top level that is a fixed name",
         {{"License.txt", "one/License.txt"}, {"docs\\license.txt", "two/license.txt"}},
         "\"License.txt\" would be stored as \"License.txt\", a name"},
        {"a nested file below a fixed name",
         {{"Setup.exe\\a.txt", "one/a.txt"}, {"b\\a.txt", "two/a.txt"}},
         "would be stored as \"Setup.exe\\a.txt\", below a name"},
        {"a nested file where a flat file lies",
         {{"Docs", "one/Docs"}, {"docs\\a.txt", "two/a.txt"}, {"b\\a.txt", "three/a.txt"}},
         "\"docs\\a.txt\" would be stored in the folder \"docs\", where the packaged file "
         "\"Docs\" is stored"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PackagePlan plan = OneFilePlan();
        for (const auto& [name, source] : row.files)
            plan.entries.push_back(Entry(source, name, "x"));
        EXPECT_TRUE(Refused(plan, row.named));
    }
}

TEST_F(PackageCheck, RefusesHeaderStringsThatDoNotFitTheirFields) {
    struct Header {
        const char* option;
        std::string PackagePlan::*field;
        size_t limit;
        bool required;
    };
    for (const Header& header : {Header{"--app-exe", &PackagePlan::appExe, 255, true},
                                 Header{"--header2", &PackagePlan::header2, 255, false},
                                 Header{"--folder-name", &PackagePlan::folderName, 259, true},
                                 Header{"--post-install", &PackagePlan::postInstall, 259, false},
                                 Header{"--publisher", &PackagePlan::publisher, 255, false}}) {
        SCOPED_TRACE(header.option);
        auto with = [&](const std::string& text) {
            PackagePlan plan = OneFilePlan();
            plan.*header.field = text;
            return plan;
        };
        const std::string label = std::string(header.option) + ") ";
        const std::string tooLong(header.limit + 1, 'h');
        EXPECT_TRUE(Refused(with(tooLong), label + "\"" + tooLong + "\" is " +
                                               std::to_string(tooLong.size()) + " bytes long"));
        EXPECT_TRUE(Refused(with(kWithNul), label + "\"a<NUL>b\" holds a NUL byte"));
        if (header.required)
            EXPECT_TRUE(Refused(with(""), label + "is empty"));
    }
}

TEST_F(PackageCheck, AcceptsEveryStringAtItsLimit) {
    PackagePlan plan = OneFilePlan();
    plan.appExe = std::string(255, 'a');
    plan.header2 = std::string(255, '2');
    plan.folderName = std::string(259, 'f');
    plan.postInstall = std::string(259, 'p');
    plan.version = "65535.65535.65535.65535";
    plan.publisher = std::string(255, 'v');
    plan.entries.push_back(Entry("long", kLongestName, "x"));
    plan.obsoleteNames.push_back(kLongestName);
    EXPECT_TRUE(Built(plan));
}

TEST_F(PackageCheck, RefusesAnIdentityTheInstallerCouldNotState) {
    const struct {
        const char* name;
        std::string version;
        std::string publisher;
        const char* named;
    } rows[] = {
        {"one number", "1", "", "(--version) \"1\" is not two to four numbers"},
        {"words in the version", "1.2 beta", "", "(--version) \"1.2 beta\" is not"},
        {"five numbers", "1.2.3.4.5", "", "(--version) \"1.2.3.4.5\" is not"},
        {"part over 65535", "1.65536", "", "(--version) \"1.65536\" is not"},
        {"tab in the publisher", "1.0", "Kestrel\tSoftware",
         "(--publisher) \"Kestrel<0x09>Software\" holds a control character"},
        {"publisher outside the code page", "", "\xe8\xa1\xa8 Soft", "which code page 1252"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PackagePlan plan = OneFilePlan();
        plan.version = row.version;
        plan.publisher = row.publisher;
        EXPECT_TRUE(Refused(plan, row.named));
    }
}

TEST_F(PackageCheck, RefusesSourcesThatCannotBePackaged) {
    PackagePlan empty = BasePlan();
    EXPECT_TRUE(Refused(empty, "the package holds no files"));

    PackagePlan missing = OneFilePlan();
    missing.entries.push_back(PackageEntry{in_ / "absent.dll", "absent.dll", false});
    EXPECT_TRUE(Refused(missing, "absent.dll\" does not exist"));

    PackagePlan folder = OneFilePlan();
    fs::create_directories(in_ / "folder.dll");
    folder.entries.push_back(PackageEntry{in_ / "folder.dll", "folder.dll", false});
    EXPECT_TRUE(Refused(folder, "folder.dll\" is not a regular file"));

    PackagePlan fixedNames = OneFilePlan();
    fixedNames.license = in_ / "no-license.txt";
    EXPECT_TRUE(
        Refused(fixedNames, "(--license) \"" + fixedNames.license.string() + "\" does not"));
    fixedNames.license.clear();
    fixedNames.zlib = in_ / "no-zlib.dll";
    EXPECT_TRUE(Refused(fixedNames, "(--zlib) \"" + fixedNames.zlib.string() + "\" does not"));

    PackagePlan huge = OneFilePlan();
    // Sparse: the check reads the size, never the content.
    fs::resize_file(AddInput("huge.bin", ""), 0x80000000ull);
    huge.entries.push_back(PackageEntry{in_ / "huge.bin", "huge.bin", false});
    EXPECT_TRUE(Refused(huge, "huge.bin\") is 2147483648 bytes"));
}

TEST_F(PackageCheck, RefusesASourceThatIsTheFileItWouldBeWrittenTo) {
    PackagePlan plan = BasePlan();
    WriteAll(out_ / "Kestrel.exe", "program");
    plan.entries.push_back(PackageEntry{out_ / "Kestrel.exe", "Kestrel.exe", false});
    EXPECT_TRUE(Refused(plan, "Kestrel.exe\" is the very file"));
    EXPECT_EQ(ReadAll(out_ / "Kestrel.exe"), "program");
}

TEST_F(PackageCheck, RefusesAnOutputPathThatIsAFile) {
    WriteAll(out_, "not a folder");
    EXPECT_TRUE(Refused(OneFilePlan(), "exists and is not a directory"));
    EXPECT_EQ(ReadAll(out_), "not a folder");
}

} // namespace
