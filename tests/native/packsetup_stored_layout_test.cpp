// Where a build puts each packaged file: flat under its file-name part as
// always, or under its whole name when another packaged file shares that part
// in any letter case. The index is the same either way.
#include "packsetup_test_support.h"

#include "package_index.h"

#include <algorithm>
#include <set>

using namespace packsetup;
using namespace packsetup_test;

namespace {

// Every file and folder below `dir`, relative, with '/' between the parts.
std::set<std::string> Listing(const fs::path& dir) {
    std::set<std::string> listing;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir))
        listing.insert(entry.path().lexically_relative(dir).generic_u8string() +
                       (entry.is_directory() ? "/" : ""));
    return listing;
}

class StoredLayout : public PackageFixture {
protected:
    // A plan of plain files, each holding its own packaged name.
    PackagePlan PlanOf(const std::vector<std::string>& names) {
        PackagePlan plan = BasePlan();
        int n = 0;
        for (const std::string& name : names)
            plan.entries.push_back(Entry("src" + std::to_string(n++), name, name, true));
        return plan;
    }
};

TEST_F(StoredLayout, NestsExactlyTheNamesThatRepeatAndKeepsTheIndex) {
    struct Row {
        const char* name;
        std::vector<std::string> packaged;
        std::set<std::string> listing;
    };
    const Row rows[] = {
        {"no name repeats: all flat, as always",
         {"Kestrel.exe", "bin\\x.dll", "locale\\de\\app.mo"},
         {"Setup.dat", "Kestrel.exe", "x.dll", "app.mo"}},
        {"names repeating across folders and in letter case only",
         {"Kestrel.exe", "locale\\de\\LC_MESSAGES\\app.mo", "locale\\fr\\LC_MESSAGES\\app.mo",
          "plugins\\One\\README.txt", "plugins\\Two\\readme.TXT", "bin\\x.dll"},
         {"Setup.dat", "Kestrel.exe", "x.dll", "locale/", "locale/de/", "locale/de/LC_MESSAGES/",
          "locale/de/LC_MESSAGES/app.mo", "locale/fr/", "locale/fr/LC_MESSAGES/",
          "locale/fr/LC_MESSAGES/app.mo", "plugins/", "plugins/One/", "plugins/One/README.txt",
          "plugins/Two/", "plugins/Two/readme.TXT"}},
        {"a top-level name repeating below: it stays on top, where its whole name puts it",
         {"Kestrel.exe", "copyright", "doc\\copyright"},
         {"Setup.dat", "Kestrel.exe", "copyright", "doc/", "doc/copyright"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(out_);
        ASSERT_TRUE(Built(PlanOf(row.packaged)));
        EXPECT_EQ(Listing(out_), row.listing);
        for (const std::string& name : row.packaged) {
            std::string nested = name;
            std::replace(nested.begin(), nested.end(), '\\', '/');
            const std::string relative =
                row.listing.count(nested) ? nested : name.substr(name.find_last_of('\\') + 1);
            EXPECT_EQ(ReadAll(out_ / fs::u8path(relative)), name) << "stored as " << relative;
        }
        setupcore::PackageIndex index;
        index.appExe = "Kestrel.exe";
        index.folderName = "Kestrel App";
        for (const std::string& name : row.packaged)
            index.files.push_back({name, 0});
        EXPECT_EQ(ReadAll(out_ / "Setup.dat"), setupcore::EncodePackageIndex(index));
    }
}

// The installer takes a file from its whole name's place first: what an
// earlier build nested there must not stand in for this build's flat file.
TEST_F(StoredLayout, ABuildRemovesWhatAnEarlierOneNestedWhereItStoresFlat) {
    ASSERT_TRUE(Built(PlanOf({"Kestrel.exe", "a\\copyright", "b\\copyright"})));
    WriteAll(out_ / "a" / "mine.txt", "the publisher's own");
    ASSERT_TRUE(Built(PlanOf({"Kestrel.exe", "a\\copyright"})));
    EXPECT_EQ(ReadAll(out_ / "copyright"), "a\\copyright");
    EXPECT_FALSE(fs::exists(out_ / "a" / "copyright"));
    EXPECT_TRUE(fs::exists(out_ / "a" / "mine.txt")) << "nothing else goes";
}

// A build that fails takes its nested files and the folders it made away again.
TEST_F(StoredLayout, AFailedBuildLeavesNoFolderItMade) {
    PackagePlan plan = PlanOf({"Kestrel.exe", "a\\b\\copyright", "c\\copyright"});
    plan.license = AddInput("eula.txt", "terms");
    WriteAll(out_ / "License.txt" / "x", "in the way"); // the license cannot be written
    ASSERT_FALSE(Built(plan));
    EXPECT_EQ(Listing(out_), (std::set<std::string>{"License.txt/", "License.txt/x"}));
}

} // namespace
