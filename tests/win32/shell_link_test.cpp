// Shell links written with CreateShortcut and read back through the shell's
// own IShellLinkA, and the special folders the installer places them in.
#include "shell_link.h"

#include "test_support.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// What a link file holds, as the shell reads it back, and its header's
// SLDF_* bits, which say which optional parts were stored at all.
struct LinkContents : ShortcutContents {
    HRESULT loaded = E_FAIL;
    DWORD flags = 0;
};

// The optional parts of a link, as the caller passes them.
struct LinkParts {
    const char* workingDirectory;
    const char* iconPath;
    int iconIndex;
    const char* arguments;
};

const DWORD kOptionalFields = SLDF_HAS_WORKINGDIR | SLDF_HAS_ARGS | SLDF_HAS_ICONLOCATION;

DWORD HeaderFlags(const std::string& linkFile) {
    std::string bytes = ReadFileBytes(linkFile);
    DWORD flags = 0;
    if (bytes.size() >= 0x18)
        std::memcpy(&flags, bytes.data() + 0x14, sizeof flags);
    return flags;
}

LinkContents ReadLink(const std::string& linkFile) {
    LinkContents contents;
    contents.iconIndex = -1;
    contents.loaded = ReadShortcut(linkFile, contents);
    contents.flags = HeaderFlags(linkFile);
    return contents;
}

class CreateShortcutTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes(target, "MZ"); }

    // Writes App.lnk to `target` with `parts` and reads it back; a failure
    // names the caller's line.
    LinkContents WriteAndReadBack(const LinkParts& parts, const char* file, int line) {
        ::testing::ScopedTrace trace(file, line, "link written here");
        ::DeleteFileA(link.c_str());
        EXPECT_EQ(CreateShortcut(target, link, parts.workingDirectory, parts.iconPath,
                                 parts.iconIndex, parts.arguments),
                  S_OK);
        LinkContents contents = ReadLink(link);
        EXPECT_EQ(contents.loaded, S_OK);
        return contents;
    }

    // A link path of exactly `length` characters inside the temporary directory.
    std::string LinkPathOfLength(size_t length) const {
        std::string path = temp / "";
        return path + std::string(length - path.size() - 4, 'x') + ".lnk";
    }

    TempDir temp;
    std::string target = temp / "App.exe";
    std::string link = temp / "App.lnk";
    std::string icon = temp / "AppIcon.ico";
};

#define WRITE_AND_READ_BACK(...) WriteAndReadBack(LinkParts{__VA_ARGS__}, __FILE__, __LINE__)

TEST_F(CreateShortcutTest, LinkReadsBackEveryPartGiven) {
    LinkContents back = WRITE_AND_READ_BACK(temp.Path().c_str(), icon.c_str(), 2, " /UNINSTALL");
    EXPECT_EQ(back.target, target);
    EXPECT_EQ(back.arguments, " /UNINSTALL");
    EXPECT_EQ(back.workingDirectory, temp.Path());
    EXPECT_EQ(back.iconPath, icon);
    EXPECT_EQ(back.iconIndex, 2);
}

TEST_F(CreateShortcutTest, SetsOnlyTheOptionalPartsGiven) {
    const std::string dir = temp.Path();
    const struct {
        const char* name;
        LinkParts parts;
        DWORD flags;
    } cases[] = {
        {"none given", {nullptr, nullptr, 0, nullptr}, 0},
        {"empty arguments", {nullptr, nullptr, 0, ""}, 0},
        {"arguments", {nullptr, nullptr, 0, " /UNINSTALL"}, SLDF_HAS_ARGS},
        {"working directory", {dir.c_str(), nullptr, 0, nullptr}, SLDF_HAS_WORKINGDIR},
        {"icon", {nullptr, icon.c_str(), 1, nullptr}, SLDF_HAS_ICONLOCATION},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkContents back = WRITE_AND_READ_BACK(c.parts);
        EXPECT_EQ(back.target, target);
        EXPECT_EQ(back.flags & kOptionalFields, c.flags);
    }
}

TEST_F(CreateShortcutTest, FailsInMissingDirectoryWithoutCreatingIt) {
    HRESULT result = CreateShortcut(target, temp / "missing\\App.lnk", nullptr, nullptr, 0, "");
    EXPECT_TRUE(FAILED(result)) << std::hex << result;
    EXPECT_FALSE(DirectoryExists(temp / "missing"));
}

TEST_F(CreateShortcutTest, WritesLinkPathOfTheLongestLengthThatFits) {
    std::string longest = LinkPathOfLength(MAX_PATH - 1);
    EXPECT_EQ(CreateShortcut(target, longest, nullptr, nullptr, 0, nullptr), S_OK);
    EXPECT_TRUE(FileExists(longest));
}

TEST_F(CreateShortcutTest, RefusesLinkPathTooLongRatherThanCuttingIt) {
    std::string tooLong = LinkPathOfLength(MAX_PATH);
    EXPECT_EQ(CreateShortcut(target, tooLong, nullptr, nullptr, 0, nullptr),
              HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_FALSE(FileExists(tooLong));
    EXPECT_FALSE(FileExists(tooLong.substr(0, MAX_PATH - 1)));
}

TEST(GetSpecialFolderPath, NamesExistingDirectoriesForTheFoldersSetupUses) {
    const struct {
        const char* name;
        int folder;
    } cases[] = {
        {"desktop", CSIDL_DESKTOP},
        {"application data", CSIDL_APPDATA},
        {"common programs", CSIDL_COMMON_PROGRAMS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path;
        EXPECT_TRUE(GetSpecialFolderPath(path, c.folder));
        EXPECT_TRUE(DirectoryExists(path)) << '"' << path << '"';
    }
}

TEST(GetSpecialFolderPath, LeavesTheCallersTextForAnUnknownFolder) {
    std::string path = "as the caller set it";
    EXPECT_FALSE(GetSpecialFolderPath(path, 0x7F));
    EXPECT_EQ(path, "as the caller set it");
}

} // namespace
