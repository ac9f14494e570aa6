// The folders an uninstallation takes away: exactly those the installation
// made, on real directory trees.
#include "made_folders.h"
#include "path_helpers.h"
#include "removal_scope.h"
#include "install_record.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

void MakeDirectories(const TempDir& root, std::initializer_list<const char*> relative) {
    for (const char* path : relative)
        ASSERT_TRUE(::CreateDirectoryA((root / path).c_str(), nullptr)) << path;
}

std::vector<std::string> Texts(const std::vector<ItemLeft>& left) {
    std::vector<std::string> texts;
    for (const ItemLeft& item : left)
        texts.push_back(item.text);
    return texts;
}

} // namespace

TEST(RemoveMadeFolders, RemovesWhatTheInstallationMadeAndKeepsWhatStoodBefore) {
    TempDir root;
    MakeDirectories(root, {"Vendor", "Vendor\\Product", "Vendor\\Product\\docs",
                           "Vendor\\Product\\docs\\deep", "Vendor\\Product\\users-empty",
                           "Vendor\\Product\\Empty", "Elsewhere"});
    const std::string install = root / "Vendor\\Product";
    RemovalScope scope(install);
    setupcore::InstallRecord nothing;
    scope.Prepare(nothing);
    std::vector<ItemLeft> left;
    // Made: the parent, the install directory and a tree below it; the empty
    // folders beside them were the user's. The temporary directory and a
    // folder elsewhere are no folders of an installation's making.
    const std::string temporary = CanonicalPathOf(TemporaryDirectoryPath()).path;
    RemoveMadeFolders({root / "Vendor", install, install + "\\docs", install + "\\docs\\deep",
                       root / "Elsewhere", temporary},
                      scope, left, nullptr);

    EXPECT_FALSE(DirectoryExists(install + "\\docs")) << "made, and empty once deepest first";
    EXPECT_TRUE(DirectoryExists(install + "\\users-empty")) << "the user's, empty or not";
    EXPECT_TRUE(DirectoryExists(install + "\\Empty"));
    EXPECT_TRUE(DirectoryExists(install)) << "still holds the user's folders";
    EXPECT_TRUE(DirectoryExists(root / "Elsewhere"));
    EXPECT_EQ(Texts(left), (std::vector<std::string>{root / "Elsewhere\\", temporary + "\\"}));

    // Once the user's folders are gone, the same list takes the rest, the
    // parent the installation made included.
    ::RemoveDirectoryA((install + "\\users-empty").c_str());
    ::RemoveDirectoryA((install + "\\Empty").c_str());
    left.clear();
    RemoveMadeFolders({root / "Vendor", install}, scope, left, nullptr);
    EXPECT_FALSE(DirectoryExists(root / "Vendor"));
    EXPECT_TRUE(left.empty());
}

TEST(FoldersOnTheWay, AnOlderInstallationsFoldersAreThoseItsRecordedPathsLieIn) {
    EXPECT_EQ(FoldersOnTheWay("C:\\App", {"C:\\App\\a.txt", "C:\\App\\docs\\x\\b.txt",
                                          "C:\\App\\docs\\c.txt", "C:\\Other\\d.txt", ""}),
              (std::vector<std::string>{"C:\\App", "C:\\App\\docs", "C:\\App\\docs\\x"}));
}
