// The path helpers where the file system, the current directory or the
// Windows directory decides; the text rules they wrap are tested natively
// in tests/native/path_text_test.cpp.
#include "path_helpers.h"
#include "test_support.h"

#include <gtest/gtest.h>

// Each test leaves the current directory as it found it.
class PathHelperTest : public ::testing::Test {
protected:
    TempDir temp;
    std::string before = CurrentDirectory();
    void TearDown() override { EXPECT_EQ(CurrentDirectory(), before); }
};

class ExtractDirectoryTest : public PathHelperTest {};

TEST_F(ExtractDirectoryTest, AsksTheFileSystemOnlyWhenThereIsNoDirectoryPart) {
    EXPECT_EQ(ExtractDirectory("x.exe"), before);
    EXPECT_EQ(ExtractDirectory(temp.Path() + "\\"), temp.Path() + "\\");
    EXPECT_EQ(ExtractDirectory(temp / "missing\\"), before);
    // A directory part is taken as it stands, existing or not.
    EXPECT_EQ(ExtractDirectory(temp / "missing\\x.exe"), temp / "missing");
}

class CreateDirectoryTreeTest : public PathHelperTest {};

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

TEST_F(CreateDirectoryTreeTest, FailsAtALevelThatCanBeNeitherEnteredNorMade) {
    WriteFileBytes(temp / "file", "x");
    EXPECT_EQ(CreateDirectoryTree(temp / "file\\sub"), 0);
    EXPECT_EQ(CreateDirectoryTree("\\\\server"), 0);
    EXPECT_EQ(CreateDirectoryTree("\\\\server\\share"), 0);
}

TEST_F(CreateDirectoryTreeTest, KeepsTheLevelsMadeBeforeAFailure) {
    EXPECT_EQ(CreateDirectoryTree(temp / "new\\bad*name\\deeper"), 0);
    EXPECT_TRUE(DirectoryExists(temp / "new"));
}

class ExpandTargetPathTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui; // records any box, though none may be shown
    TempDir temp;
    std::string unknownToken;
};

TEST_F(ExpandTargetPathTest, SystemRootInAnyCaseMovesTheTargetIntoTheWindowsDirectory) {
    std::string deep = "C:\\Program Files\\App\\%systemROOT%\\System32\\a.dll";
    std::string direct = "C:\\App\\%SystemRoot%\\x.dll";
    EXPECT_EQ(ExpandTargetPath(deep, unknownToken), 1);
    EXPECT_EQ(deep, WindowsDirectory() + "\\System32\\a.dll");
    EXPECT_EQ(ExpandTargetPath(direct, unknownToken), 1);
    EXPECT_EQ(direct, WindowsDirectory() + "\\x.dll");
    EXPECT_EQ(unknownToken, "");
}

TEST_F(ExpandTargetPathTest, RefusesAnyOtherTokenNamingItWithoutABox) {
    std::string unknown = "C:\\App\\%WinDir%\\a.dll";
    EXPECT_EQ(ExpandTargetPath(unknown, unknownToken), 0);
    EXPECT_EQ(unknown, "C:\\App\\%WinDir%\\a.dll");
    EXPECT_EQ(unknownToken, "WinDir");
    std::string unclosed = "C:\\App\\%SystemRoot\\a.dll";
    EXPECT_EQ(ExpandTargetPath(unclosed, unknownToken), 0);
    EXPECT_EQ(unknownToken, "SystemRoot");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ExpandTargetPathTest, PlainTargetGetsItsDirectoriesCreated) {
    std::string path = temp / "sub\\deeper\\file.txt";
    EXPECT_EQ(ExpandTargetPath(path, unknownToken), 1);
    EXPECT_EQ(path, temp / "sub\\deeper\\file.txt");
    EXPECT_TRUE(DirectoryExists(temp / "sub\\deeper"));
}

TEST_F(ExpandTargetPathTest, PlainTargetIsAcceptedEvenWhenItsDirectoryCannotBeMade) {
    WriteFileBytes(temp / "file", "x");
    std::string path = temp / "file\\sub\\a.txt";
    EXPECT_EQ(ExpandTargetPath(path, unknownToken), 1);
    EXPECT_EQ(unknownToken, "");
    EXPECT_TRUE(ui.boxes.empty());
}
