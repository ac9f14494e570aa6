// The setup directory a build writes: the index, each packaged file under
// its file-name part, the fixed-name files, and what an earlier build left.
#include "packsetup_test_support.h"

#include "package_identity.h"
#include "package_index.h"

using namespace packsetup;
using namespace packsetup_test;

namespace {

class PackageWriter : public PackageFixture {};

TEST_F(PackageWriter, WritesTheIndexExactlyAsTheCoreEncodesIt) {
    PackagePlan plan = BasePlan();
    plan.header2 = "second";
    plan.postInstall = "Tools\\Register.exe";
    plan.obsoleteNames = {"old.dll", "Help\\old.hlp"};
    plan.entries = {Entry("Kestrel.exe", "Kestrel.exe", SampleBytes(5000, 1)),
                    Entry("readme.txt", "readme.txt", "read me", true),
                    Entry("x.dll", "bin\\x.dll", SampleBytes(300, 2)),
                    Entry("empty.cfg", "empty.cfg", "")};
    ASSERT_TRUE(Built(plan));

    setupcore::PackageIndex expected;
    expected.appExe = "Kestrel.exe";
    expected.header2 = "second";
    expected.folderName = "Kestrel App";
    expected.postInstall = "Tools\\Register.exe";
    expected.obsoleteFiles = {"old.dll", "Help\\old.hlp"};
    // An empty file is stored plain even when compression was asked for.
    expected.files = {{"Kestrel.exe", 1}, {"readme.txt", 0}, {"bin\\x.dll", 1}, {"empty.cfg", 0}};
    EXPECT_EQ(ReadAll(out_ / "Setup.dat"), setupcore::EncodePackageIndex(expected));
}

TEST_F(PackageWriter, WritesTheIdentityAfterTheLastEntryInTheCodePage) {
    PackagePlan plan = OneFilePlan();
    ASSERT_TRUE(Built(plan));
    const std::string bare = ReadAll(out_ / "Setup.dat");
    plan.version = "1.2.3";
    plan.publisher = "Caf\xc3\xa9 Software"; // UTF-8, as on the command line
    ASSERT_TRUE(Built(plan));
    const std::string whole = ReadAll(out_ / "Setup.dat");
    EXPECT_EQ(whole, bare + setupcore::EncodePackageIdentity({"1.2.3", "Caf\xe9 Software"}));
    const setupcore::PackageIdentity read = setupcore::DecodePackageIdentity(
        reinterpret_cast<const uint8_t*>(whole.data()), whole.size());
    EXPECT_EQ(read.version, "1.2.3");
    EXPECT_EQ(read.publisher, "Caf\xe9 Software");
}

TEST_F(PackageWriter, StoresASubfolderEntryFlatUnderItsFileName) {
    PackagePlan plan = BasePlan();
    plan.entries.push_back(Entry("deep/inside/x.dll", "bin\\plugins\\x.dll", "plugin", true));
    ASSERT_TRUE(Built(plan));
    EXPECT_EQ(ReadAll(out_ / "x.dll"), "plugin");
    EXPECT_FALSE(fs::exists(out_ / "bin"));
}

TEST_F(PackageWriter, CopiesLicenseUrlSetupExeAndZlibUnderTheirFixedNames) {
    PackagePlan plan = OneFilePlan();
    plan.license = AddInput("eula.rtf", "license text");
    plan.url = AddInput("site", "https://example.invalid/");
    plan.setupExe = AddInput("installer.exe", "MZ setup");
    plan.zlib = AddInput("z.dll", "MZ zlib");
    ASSERT_TRUE(Built(plan));
    EXPECT_EQ(ReadAll(out_ / "License.txt"), "license text");
    EXPECT_EQ(ReadAll(out_ / "URL.txt"), "https://example.invalid/");
    EXPECT_EQ(ReadAll(out_ / "Setup.exe"), "MZ setup");
    EXPECT_EQ(ReadAll(out_ / "zlib1.dll"), "MZ zlib");
}

TEST_F(PackageWriter, ReplacesTheIndexAndFilesOfAnEarlierBuild) {
    ASSERT_TRUE(Built(OneFilePlan()));
    PackagePlan second = BasePlan();
    second.folderName = "Renamed";
    second.entries.push_back(Entry("v2/Kestrel.exe", "Kestrel.exe", "version two", true));
    ASSERT_TRUE(Built(second));
    EXPECT_NE(ReadAll(out_ / "Setup.dat").find("Renamed"), std::string::npos);
    EXPECT_EQ(ReadAll(out_ / "Kestrel.exe"), "version two");
}

} // namespace
