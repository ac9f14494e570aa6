// The sweep after an uninstallation, on real directory trees.
#include "remove_empty_directories.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

void MakeDirectories(const TempDir& root, std::initializer_list<const char*> relative) {
    for (const char* path : relative)
        ASSERT_TRUE(::CreateDirectoryA((root / path).c_str(), nullptr)) << path;
}

} // namespace

TEST(RemoveEmptyDirectories, RemovesATreeOfEmptyDirectoriesDeepestFirst) {
    TempDir parent;
    MakeDirectories(parent, {"app", "app\\a", "app\\a\\b", "app\\a\\b\\c", "app\\d"});
    RemoveEmptyDirectories(parent / "app");
    EXPECT_FALSE(DirectoryExists(parent / "app"));
    EXPECT_TRUE(DirectoryExists(parent.Path()));
}

TEST(RemoveEmptyDirectories, KeepsEveryDirectoryAboveAFileAndNeverDeletesIt) {
    TempDir parent;
    MakeDirectories(parent, {"app", "app\\keep", "app\\keep\\deep", "app\\empty", "app\\empty\\e"});
    WriteFileBytes(parent / "app\\keep\\deep\\user.txt", "mine");
    RemoveEmptyDirectories(parent / "app");
    EXPECT_EQ(ReadFileBytes(parent / "app\\keep\\deep\\user.txt"), "mine");
    EXPECT_TRUE(DirectoryExists(parent / "app"));
    EXPECT_FALSE(DirectoryExists(parent / "app\\empty"));
}
