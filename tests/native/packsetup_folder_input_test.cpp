// A folder as package input: its regular files, named and sorted as the
// index lists them.
#include "packsetup_test_support.h"

#include "packsetup/folder_input.h"

using namespace packsetup;
using namespace packsetup_test;

namespace {

class FolderInput : public PackageFixture {};

TEST_F(FolderInput, ListsEveryRegularFileSortedByPackagedName) {
    AddInput("b.txt", "b");
    AddInput("a/z.dll", "z");
    AddInput("a/b/c.txt", "c");
    AddInput("Kestrel.exe", "k");
    fs::create_directories(in_ / "empty" / "folder");
    std::vector<PackageEntry> entries;
    std::string error;
    ASSERT_TRUE(CollectFolder(in_, entries, error)) << error;
    std::vector<std::string> names;
    for (const PackageEntry& entry : entries)
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Kestrel.exe", "a\\b\\c.txt", "a\\z.dll", "b.txt"}));
    EXPECT_EQ(entries[1].source, in_ / "a" / "b" / "c.txt");
}

} // namespace
