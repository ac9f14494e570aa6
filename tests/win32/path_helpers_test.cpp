#include "path_helpers.h"
#include "resource.h"
#include "test_support.h"

#include <gtest/gtest.h>

TEST(ExtractFileName, DropsOnlyTheExtensionOfTheFileNamePart) {
    EXPECT_EQ(ExtractFileName("C:\\Setup\\App.exe", false), "App");
    EXPECT_EQ(ExtractFileName("a.b.c", false), "a.b");
    EXPECT_EQ(ExtractFileName("README", false), "README");
    EXPECT_EQ(ExtractFileName("dir.d\\file", false), "file");
    EXPECT_EQ(ExtractFileName("C:\\Setup\\App.exe", true), "App.exe");
    EXPECT_EQ(ExtractFileName("C:\\Setup\\", true), "");
}

class ExtractDirectoryTest : public ::testing::Test {
protected:
    TempDir temp;
    std::string before = CurrentDirectory();
    void TearDown() override { EXPECT_EQ(CurrentDirectory(), before); }
};

TEST_F(ExtractDirectoryTest, TakesEverythingBeforeTheLastBackslash) {
    EXPECT_EQ(ExtractDirectory("C:\\Setup\\Setup.exe"), "C:\\Setup");
    EXPECT_EQ(ExtractDirectory("C:\\x.exe"), "C:");
    EXPECT_EQ(ExtractDirectory("\\Setup.exe"), "");
}

TEST_F(ExtractDirectoryTest, BareFileNameGivesTheCurrentDirectory) {
    EXPECT_EQ(ExtractDirectory("x.exe"), before);
}

TEST_F(ExtractDirectoryTest, ExistingDirectoryWithTrailingBackslashStaysAsItIs) {
    std::string withSlash = temp.Path() + "\\";
    EXPECT_EQ(ExtractDirectory(withSlash), withSlash);
}

TEST_F(ExtractDirectoryTest, MissingDirectoryWithTrailingBackslashGivesTheCurrentDirectory) {
    EXPECT_EQ(ExtractDirectory(temp / "missing\\"), before);
}

TEST(AppendPath, AddsOneBackslashAtTheSeamOnlyWhereNeeded) {
    EXPECT_EQ(AppendPath("C:\\dir\\", "a"), "C:\\dir\\a");
    EXPECT_EQ(AppendPath("C:\\dir", "a"), "C:\\dir\\a");
    EXPECT_EQ(AppendPath("C:\\dir", "\\a"), "C:\\dir\\\\a");
    EXPECT_EQ(AppendPath("", "a"), "a");
}

class CreateDirectoryTreeTest : public ::testing::Test {
protected:
    TempDir temp;
    std::string before = CurrentDirectory();
    void TearDown() override { EXPECT_EQ(CurrentDirectory(), before); }
};

TEST_F(CreateDirectoryTreeTest, RootAndExistingDirectorySucceedWithoutCreating) {
    EXPECT_EQ(CreateDirectoryTree("C:\\"), 1);
    EXPECT_EQ(CreateDirectoryTree(temp.Path()), 1);
}

TEST_F(CreateDirectoryTreeTest, CreatesEveryMissingLevel) {
    ::CreateDirectoryA((temp / "a").c_str(), nullptr);
    EXPECT_EQ(CreateDirectoryTree(temp / "a\\b\\c"), 1);
    EXPECT_TRUE(DirectoryExists(temp / "a\\b\\c"));
    EXPECT_EQ(CreateDirectoryTree(temp / "d\\e\\"), 1);
    EXPECT_TRUE(DirectoryExists(temp / "d\\e"));
}

TEST_F(CreateDirectoryTreeTest, FailsWhereAFileStandsInTheWay) {
    WriteFileBytes(temp / "file", "x");
    EXPECT_EQ(CreateDirectoryTree(temp / "file\\sub"), 0);
}

TEST_F(CreateDirectoryTreeTest, KeepsTheLevelsMadeBeforeAFailure) {
    EXPECT_EQ(CreateDirectoryTree(temp / "new\\bad*name\\deeper"), 0);
    EXPECT_TRUE(DirectoryExists(temp / "new"));
}

TEST_F(CreateDirectoryTreeTest, ShareWithoutShareNameOrTrailingPartFails) {
    EXPECT_EQ(CreateDirectoryTree("\\\\server"), 0);
    EXPECT_EQ(CreateDirectoryTree("\\\\server\\share"), 0);
}

class ExpandTargetPathTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    TempDir temp;
};

TEST_F(ExpandTargetPathTest, SystemRootInAnyCaseMovesTheTargetIntoTheWindowsDirectory) {
    for (const char* token : {"%SystemRoot%", "%systemroot%", "%SYSTEMROOT%"}) {
        std::string path = "C:\\Program Files\\App\\" + std::string(token) + "\\System32\\a.dll";
        EXPECT_EQ(ExpandTargetPath(path), 1);
        EXPECT_EQ(path, WindowsDirectory() + "\\System32\\a.dll");
    }
    std::string direct = "C:\\App\\%SystemRoot%\\x.dll";
    EXPECT_EQ(ExpandTargetPath(direct), 1);
    EXPECT_EQ(direct, WindowsDirectory() + "\\x.dll");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ExpandTargetPathTest, UnknownTokenIsRefusedWithItsName) {
    std::string path = "C:\\App\\%WinDir%\\a.dll";
    EXPECT_EQ(ExpandTargetPath(path), 0);
    EXPECT_EQ(path, "C:\\App\\%WinDir%\\a.dll");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "No such system directory:\n WinDir.");
}

TEST_F(ExpandTargetPathTest, UnclosedTokenIsRefused) {
    std::string path = "C:\\App\\%SystemRoot\\a.dll";
    EXPECT_EQ(ExpandTargetPath(path), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_NO_SYSTEM_DIR, "SystemRoot"));
}

TEST_F(ExpandTargetPathTest, PlainTargetGetsItsDirectoriesCreated) {
    std::string path = temp / "sub\\deeper\\file.txt";
    EXPECT_EQ(ExpandTargetPath(path), 1);
    EXPECT_EQ(path, temp / "sub\\deeper\\file.txt");
    EXPECT_TRUE(DirectoryExists(temp / "sub\\deeper"));
}

TEST_F(ExpandTargetPathTest, PlainTargetIsAcceptedEvenWhenItsDirectoryCannotBeMade) {
    WriteFileBytes(temp / "file", "x");
    std::string path = temp / "file\\sub\\a.txt";
    EXPECT_EQ(ExpandTargetPath(path), 1);
    EXPECT_TRUE(ui.boxes.empty());
}
