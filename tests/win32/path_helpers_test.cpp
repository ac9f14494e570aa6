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
    EXPECT_TRUE(CreateDirectoryTree("C:\\"));
    EXPECT_TRUE(CreateDirectoryTree(temp.Path()));
}

TEST_F(CreateDirectoryTreeTest, CreatesEveryMissingLevel) {
    ::CreateDirectoryA((temp / "a").c_str(), nullptr);
    EXPECT_TRUE(CreateDirectoryTree(temp / "a\\b\\c"));
    EXPECT_TRUE(DirectoryExists(temp / "a\\b\\c"));
    EXPECT_TRUE(CreateDirectoryTree(temp / "d\\e\\"));
    EXPECT_TRUE(DirectoryExists(temp / "d\\e"));
}

TEST_F(CreateDirectoryTreeTest, FailsAtALevelThatCanBeNeitherEnteredNorMade) {
    WriteFileBytes(temp / "file", "x");
    EXPECT_FALSE(CreateDirectoryTree(temp / "file\\sub"));
    EXPECT_FALSE(CreateDirectoryTree("\\\\server"));
    EXPECT_FALSE(CreateDirectoryTree("\\\\server\\share"));
}

TEST_F(CreateDirectoryTreeTest, KeepsTheLevelsMadeBeforeAFailure) {
    EXPECT_FALSE(CreateDirectoryTree(temp / "new\\bad*name\\deeper"));
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
    EXPECT_EQ(ExpandTargetPath(deep, unknownToken), TargetPlace::WindowsDirectory);
    EXPECT_EQ(deep, WindowsDirectory() + "\\System32\\a.dll");
    EXPECT_EQ(ExpandTargetPath(direct, unknownToken), TargetPlace::WindowsDirectory);
    EXPECT_EQ(direct, WindowsDirectory() + "\\x.dll");
    EXPECT_EQ(unknownToken, "");
}

TEST_F(ExpandTargetPathTest, RefusesAnyOtherTokenNamingItWithoutABox) {
    std::string unknown = "C:\\App\\%WinDir%\\a.dll";
    EXPECT_EQ(ExpandTargetPath(unknown, unknownToken), TargetPlace::UnknownToken);
    EXPECT_EQ(unknown, "C:\\App\\%WinDir%\\a.dll");
    EXPECT_EQ(unknownToken, "WinDir");
    std::string unclosed = "C:\\App\\%SystemRoot\\a.dll";
    EXPECT_EQ(ExpandTargetPath(unclosed, unknownToken), TargetPlace::UnknownToken);
    EXPECT_EQ(unknownToken, "SystemRoot");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ExpandTargetPathTest, PlainTargetIsLeftAsItIsAndNothingIsMade) {
    std::string path = temp / "sub\\deeper\\file.txt";
    EXPECT_EQ(ExpandTargetPath(path, unknownToken), TargetPlace::AsGiven);
    EXPECT_EQ(path, temp / "sub\\deeper\\file.txt");
    EXPECT_FALSE(DirectoryExists(temp / "sub"));
    EXPECT_EQ(unknownToken, "");
}

TEST_F(CreateDirectoryTreeTest, KnownDirectoriesAreNotLookedAtAgain) {
    std::unordered_set<std::string> known;
    std::vector<std::string> created;
    EXPECT_TRUE(CreateDirectoryTree(temp / "a\\b", &created, &known));
    EXPECT_EQ(created, (std::vector<std::string>{temp / "a", temp / "a\\b"}));
    EXPECT_TRUE(known.count(temp.Path()));
    // Known, so taken on trust: its removal behind the cache's back goes unseen.
    ::RemoveDirectoryA((temp / "a\\b").c_str());
    EXPECT_TRUE(CreateDirectoryTree(temp / "a\\b", &created, &known));
    EXPECT_FALSE(DirectoryExists(temp / "a\\b"));
    EXPECT_EQ(created.size(), 2u);
}
