// Reading the package index from the setup directory.
#include "package_index.h"
#include "engine_test_support.h"
#include "resource.h"
#include "package.h"
#include "test_support.h"

#include <gtest/gtest.h>

using setupcore::EncodePackageIndex;
using setupcore::PackageIndex;

class ReadSetupDatTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    TempDir source;
    Package package;
    std::string indexPath = source / "Setup.dat";
    int Read() { return Shown(CSetupDat(source.Path()).ReadSetupDat("Setup.dat", package)); }
};

TEST_F(ReadSetupDatTest, ReadsHeaderObsoleteNamesAndEntriesInOrder) {
    PackageIndex index;
    index.appExe = "App.exe";
    index.header2 = "two";
    index.folderName = "Kestrel";
    index.postInstall = "Post.exe";
    index.obsoleteFiles = {"old.dll", std::string("cut\0here", 8)};
    index.files = {{"App.exe", 1}, {"bin\\x.dll", 0}, {std::string("ab\0cd", 5), 3}};
    WriteFileBytes(indexPath, EncodePackageIndex(index));

    ASSERT_EQ(Read(), 1);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(package.appExe, "App.exe");
    EXPECT_EQ(package.header2, "two");
    EXPECT_EQ(package.folderName, "Kestrel");
    EXPECT_EQ(package.postInstall, "Post.exe");
    EXPECT_EQ(package.obsoleteNames, (std::vector<std::string>{"old.dll", "cut"}));
    ASSERT_EQ(package.entries.size(), 3u);
    EXPECT_EQ(package.entries[0].name, "App.exe");
    EXPECT_TRUE(package.entries[0].compressed);
    EXPECT_EQ(package.entries[1].name, "bin\\x.dll");
    EXPECT_FALSE(package.entries[1].compressed);
    EXPECT_EQ(package.entries[2].name, "ab");
}

TEST_F(ReadSetupDatTest, MissingIndexNamesItsFullPath) {
    EXPECT_EQ(Read(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "Can not open the file " + indexPath + "\n.Setup can not to continue.");
}

TEST_F(ReadSetupDatTest, IndexHeldOpenByAnotherProgramCannotBeOpened) {
    WriteFileBytes(indexPath, EncodePackageIndex(PackageIndex()));
    HANDLE held =
        ::CreateFileA(indexPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Read(), 0);
    ::CloseHandle(held);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(103, indexPath));
}

TEST_F(ReadSetupDatTest, MalformedIndexIsRefusedWholeAndNamed) {
    PackageIndex index;
    index.files = {{"a.txt", 0}, {"b.txt", 0}};
    std::string bytes = EncodePackageIndex(index);
    WriteFileBytes(indexPath, bytes.substr(0, bytes.size() - 6));

    EXPECT_EQ(Read(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "The file " + indexPath + " is invalid.");
    EXPECT_TRUE(package.entries.empty());
}

// The reader's own rule (packaged_name_rule.h) has its table in the native
// tests; here one hostile name goes through the real reader.
TEST_F(ReadSetupDatTest, IndexWithANameLeavingTheInstallDirectoryIsRefusedWhole) {
    PackageIndex index;
    index.appExe = "App.exe";
    index.folderName = "Kestrel";
    index.files = {{"App.exe", 1}, {"..\\..\\outside.txt", 0}};
    WriteFileBytes(indexPath, EncodePackageIndex(index));

    EXPECT_EQ(Read(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_FILE_INVALID, indexPath));
    EXPECT_TRUE(package.entries.empty());
    EXPECT_EQ(package.appExe, "") << "nothing of the index is taken";
}

TEST_F(ReadSetupDatTest, IndexLargerThanAnyPackageIsRefusedUnread) {
    PackageIndex index;
    index.files = {{"a.txt", 0}};
    WriteFileBytes(indexPath, EncodePackageIndex(index));
    ExtendFile(indexPath, setupcore::kMaxIndexSize + 1);

    EXPECT_EQ(Read(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_FILE_INVALID, indexPath));
    EXPECT_TRUE(package.entries.empty());
}
