// Reading the package index from the setup directory.
#include "package_index.h"
#include "engine_test_support.h"
#include "resource.h"
#include "setup_dat.h"
#include "test_support.h"

#include <gtest/gtest.h>

using setupcore::EncodePackageIndex;
using setupcore::PackageIndex;

class ReadSetupDatTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    TempDir source;
    CSetupDat dat;
    std::string indexPath = source / "Setup.dat";
    void SetUp() override { dat.SetDirectories(source.Path(), ""); }
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

    ASSERT_EQ(Shown(dat.ReadSetupDat("Setup.dat")), 1);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(dat.m_szAppExe, "App.exe");
    EXPECT_EQ(dat.m_szHeader2, "two");
    EXPECT_EQ(dat.m_szFolderName, "Kestrel");
    EXPECT_EQ(dat.m_szPostInstall, "Post.exe");
    EXPECT_EQ(dat.m_obsoleteFiles, (std::vector<std::string>{"old.dll", "cut"}));
    ASSERT_EQ(dat.m_files.size(), 3u);
    EXPECT_EQ(dat.m_files[0]->szName, "App.exe");
    EXPECT_EQ(dat.m_files[0]->bCompressed, 1);
    EXPECT_EQ(dat.m_files[1]->szName, "bin\\x.dll");
    EXPECT_EQ(dat.m_files[1]->bCompressed, 0);
    EXPECT_EQ(dat.m_files[2]->szName, "ab");
}

TEST_F(ReadSetupDatTest, MissingIndexNamesItsFullPath) {
    EXPECT_EQ(Shown(dat.ReadSetupDat("Setup.dat")), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "Can not open the file " + indexPath + "\n.Setup can not to continue.");
}

TEST_F(ReadSetupDatTest, IndexHeldOpenByAnotherProgramCannotBeOpened) {
    WriteFileBytes(indexPath, EncodePackageIndex(PackageIndex()));
    HANDLE held =
        ::CreateFileA(indexPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Shown(dat.ReadSetupDat("Setup.dat")), 0);
    ::CloseHandle(held);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(103, indexPath));
}

TEST_F(ReadSetupDatTest, MalformedIndexIsRefusedWholeAndNamed) {
    PackageIndex index;
    index.files = {{"a.txt", 0}, {"b.txt", 0}};
    std::string bytes = EncodePackageIndex(index);
    WriteFileBytes(indexPath, bytes.substr(0, bytes.size() - 6));

    EXPECT_EQ(Shown(dat.ReadSetupDat("Setup.dat")), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "The file " + indexPath + " is invalid.");
    EXPECT_TRUE(dat.m_files.empty());
}

// The reader's own rule (packaged_name_rule.h) has its table in the native
// tests; here one hostile name goes through the real reader.
TEST_F(ReadSetupDatTest, IndexWithANameLeavingTheInstallDirectoryIsRefusedWhole) {
    PackageIndex index;
    index.appExe = "App.exe";
    index.folderName = "Kestrel";
    index.files = {{"App.exe", 1}, {"..\\..\\outside.txt", 0}};
    WriteFileBytes(indexPath, EncodePackageIndex(index));

    EXPECT_EQ(Shown(dat.ReadSetupDat("Setup.dat")), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_FILE_INVALID, indexPath));
    EXPECT_TRUE(dat.m_files.empty());
    EXPECT_EQ(dat.m_szAppExe, "") << "nothing of the index is taken";
}

TEST_F(ReadSetupDatTest, IndexLargerThanAnyPackageIsRefusedUnread) {
    PackageIndex index;
    index.files = {{"a.txt", 0}};
    WriteFileBytes(indexPath, EncodePackageIndex(index));
    ExtendFile(indexPath, setupcore::kMaxIndexSize + 1);

    EXPECT_EQ(Shown(dat.ReadSetupDat("Setup.dat")), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_FILE_INVALID, indexPath));
    EXPECT_TRUE(dat.m_files.empty());
}

TEST(CSetupDat, AddFileEntryStopsAtANulAndKeepsTheFlag) {
    CSetupDat dat;
    EXPECT_TRUE(dat.AddFileEntry(5, "ab\0cd", 9));
    ASSERT_EQ(dat.m_files.size(), 1u);
    EXPECT_EQ(dat.m_files[0]->szName, "ab");
    EXPECT_EQ(dat.m_files[0]->bCompressed, 9);
}

TEST(CSetupDat, InstalledItemsCarryTheirPrefixAndLength) {
    CSetupDat dat;
    EXPECT_TRUE(dat.AddInstalledItem(setupcore::RecordItem::ForRegistryKey("Software\\", "A")));
    EXPECT_TRUE(AddItem(dat, "C:\\App\\a.txt"));
    EXPECT_EQ(dat.m_installed[0]->szText, "%REG_CURRENT_USER%Software\\A\\");
    EXPECT_EQ(dat.m_installed[0]->nLength, 29);
    EXPECT_FALSE(AddItem(dat, std::string(1024, 'x')));
    EXPECT_FALSE(AddItem(dat, "")); // would end the list in the record
    EXPECT_EQ(dat.m_installed.size(), 2u);
}
