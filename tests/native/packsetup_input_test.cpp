// From a command line to a plan: a folder or a manifest read, the command
// line's obsolete names first, and the options that store files plain.
#include "packsetup_test_support.h"

#include "packsetup/package_input.h"

using namespace packsetup;
using namespace packsetup_test;

namespace {

using Strings = std::vector<std::string>;

class PackageInput : public PackageFixture {
protected:
    // The message AssemblePlan gives, or "(assembled)".
    static std::string Refusal(const CommandLine& line, PackagePlan& plan) {
        std::string error;
        return AssemblePlan(line, plan, error) ? "(assembled)" : error;
    }

    // The names of the entries stored plain, or the refusal.
    static Strings PlainNames(const CommandLine& line) {
        PackagePlan plan;
        std::string refusal = Refusal(line, plan);
        Strings names;
        for (const PackageEntry& entry : plan.entries)
            if (entry.plain)
                names.push_back(entry.name);
        return refusal == "(assembled)" ? names : Strings{refusal};
    }
};

TEST_F(PackageInput, StoresPlainWhatThePlainOptionsName) {
    AddInput("Kestrel.exe", "k");
    AddInput("bin/x.dll", "x");
    CommandLine line = Line(in_);
    EXPECT_EQ(PlainNames(line), Strings{});
    line.plainExtensions = {"DLL"};
    EXPECT_EQ(PlainNames(line), Strings{"bin\\x.dll"});
    line.allPlain = true;
    EXPECT_EQ(PlainNames(line), (Strings{"Kestrel.exe", "bin\\x.dll"}));
}

TEST_F(PackageInput, TakesManifestSourcesFromBesideItAfterTheCommandLinesObsoleteNames) {
    WriteAll(in_ / "package.txt", "file build/Kestrel.exe Kestrel.exe\n"
                                  "file build/x.dll bin\\x.dll plain\n"
                                  "obsolete stale.dll\n");
    CommandLine line = Line(in_ / "package.txt");
    line.obsoleteNames = {"first.dll"};
    EXPECT_EQ(PlainNames(line), Strings{"bin\\x.dll"});
    PackagePlan plan;
    ASSERT_EQ(Refusal(line, plan), "(assembled)");
    EXPECT_EQ(plan.obsoleteNames, (Strings{"first.dll", "stale.dll"}));
    ASSERT_EQ(plan.entries.size(), 2u);
    EXPECT_EQ(plan.entries[0].source, in_ / "build/Kestrel.exe");
    EXPECT_EQ(plan.outDir, out_);
}

TEST_F(PackageInput, RefusesAMissingInputOrAnOutputDirectoryInsideTheFolder) {
    PackagePlan plan;
    EXPECT_EQ(Refusal(Line(in_), plan), "the input \"" + in_.string() + "\" does not exist");
    CommandLine inside = Line(in_);
    inside.outDir = (in_ / "setup").string();
    fs::create_directories(in_);
    EXPECT_NE(Refusal(inside, plan).find("lies inside the input folder"), std::string::npos);
}

TEST(PlainExtensions, MatchTheFileNameEndingInAnyLetterCase) {
    EXPECT_TRUE(HasPlainExtension("movie.AVI", {"avi"}));
    EXPECT_TRUE(HasPlainExtension("a.b.zip", {".ZIP"}));
    EXPECT_FALSE(HasPlainExtension("zip", {"zip"}));
    EXPECT_FALSE(HasPlainExtension("a.zipx", {"zip"}));
}

} // namespace
