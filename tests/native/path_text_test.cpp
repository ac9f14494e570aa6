#include "path_text.h"

#include <gtest/gtest.h>

using namespace setupcore;

namespace {
// A code page in which 0x81 to 0x9F lead a double-byte character.
bool ShiftJisLike(unsigned char byte) {
    return byte >= 0x81 && byte <= 0x9F;
}
} // namespace

TEST(PathText, SearchesSkipTrailBytesOfDoubleByteCharacters) {
    // 0x95 0x5C is one character whose trail byte happens to be a backslash.
    std::string path = "C:\\dir\\\x95\x5C.txt";
    EXPECT_EQ(FindLastChar(path, '\\', ShiftJisLike), 6u);
    EXPECT_EQ(FindLastChar(path, '\\', NoLeadBytes), 8u);
    EXPECT_EQ(FileNamePart(path, false, ShiftJisLike), "\x95\x5C");
}

TEST(PathText, FileNamePartDropsOnlyTheExtensionOfTheTextAfterTheLastBackslash) {
    EXPECT_EQ(FileNamePart("C:\\Setup\\App.exe", false, NoLeadBytes), "App");
    EXPECT_EQ(FileNamePart("a.b.c", false, NoLeadBytes), "a.b");
    EXPECT_EQ(FileNamePart("README", false, NoLeadBytes), "README");
    EXPECT_EQ(FileNamePart("dir.d\\file", false, NoLeadBytes), "file");
    EXPECT_EQ(FileNamePart("C:\\Setup\\App.exe", true, NoLeadBytes), "App.exe");
    EXPECT_EQ(FileNamePart("C:\\Setup\\", true, NoLeadBytes), "");
}

namespace {
// The directory part, or "(none)" where the file system must decide.
std::string DirectoryPart(const std::string& path) {
    std::string directory;
    return DirectoryBeforeLastBackslash(path, directory, NoLeadBytes) ? directory : "(none)";
}
} // namespace

TEST(PathText, DirectoryPartNeedsABackslashBeforeTheEnd) {
    EXPECT_EQ(DirectoryPart("C:\\Setup\\Setup.exe"), "C:\\Setup");
    EXPECT_EQ(DirectoryPart("C:\\x.exe"), "C:");
    EXPECT_EQ(DirectoryPart("\\Setup.exe"), "");
    EXPECT_EQ(DirectoryPart("Setup.exe"), "(none)");
    EXPECT_EQ(DirectoryPart("C:\\Setup\\"), "(none)");
}

TEST(PathText, AppendAddsOneBackslashAtTheSeamOnlyWhereNeeded) {
    EXPECT_EQ(AppendPathText("C:\\dir\\", "a"), "C:\\dir\\a");
    EXPECT_EQ(AppendPathText("C:\\dir", "a"), "C:\\dir\\a");
    EXPECT_EQ(AppendPathText("C:\\dir", "\\a"), "C:\\dir\\\\a");
    EXPECT_EQ(AppendPathText("", "a"), "a");
}

namespace {
using Strings = std::vector<std::string>;
// The prefixes the walk probes, or {"(refused)"}.
Strings Prefixes(const std::string& path) {
    Strings prefixes;
    return DirectoryTreePrefixes(path, prefixes, NoLeadBytes) ? prefixes : Strings{"(refused)"};
}
} // namespace

TEST(PathText, TreeWalkNeverProbesTheRoot) {
    EXPECT_EQ(Prefixes("C:\\a\\b"), (Strings{"C:\\a", "C:\\a\\b"}));
    EXPECT_EQ(Prefixes("C:\\"), (Strings{"C:\\"}));
    EXPECT_EQ(Prefixes("\\a\\b\\"), (Strings{"\\a", "\\a\\b", "\\a\\b\\"}));
}

TEST(PathText, TreeWalkOfASharePathStartsAtTheShare) {
    EXPECT_EQ(Prefixes("\\\\server\\share\\a"),
              (Strings{"\\\\server\\share", "\\\\server\\share\\a"}));
    // Without a backslash after the share the walk starts at the text's beginning.
    EXPECT_EQ(Prefixes("\\\\server\\share").front(), "");
    EXPECT_EQ(Prefixes("\\\\server"), Strings{"(refused)"});
}

TEST(PathText, TreeWalkOfOtherPaths) {
    EXPECT_EQ(Prefixes("name"), (Strings{"name"}));
    EXPECT_EQ(Prefixes("rel\\sub"), (Strings{"rel", "rel\\sub"}));
}

TEST(PathText, PercentTokens) {
    PercentToken token = FindPercentToken("C:\\App\\%SystemRoot%\\System32", NoLeadBytes);
    EXPECT_EQ(token.kind, PercentToken::Kind::Closed);
    EXPECT_EQ(token.name, "SystemRoot");
    EXPECT_EQ(token.after, "\\System32");
    EXPECT_EQ(FindPercentToken("C:\\App\\%SystemRoot%", NoLeadBytes).after, "");
    EXPECT_EQ(FindPercentToken("C:\\App", NoLeadBytes).kind, PercentToken::Kind::None);
    PercentToken unclosed = FindPercentToken("C:\\App\\%SystemRoot", NoLeadBytes);
    EXPECT_EQ(unclosed.kind, PercentToken::Kind::Unclosed);
    EXPECT_EQ(unclosed.name, "SystemRoot");
    EXPECT_TRUE(EqualsIgnoringAsciiCase("systemROOT", "SystemRoot"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("SystemRoots", "SystemRoot"));
}

TEST(PathText, ExtensionIsTheTextAfterTheLastDot) {
    EXPECT_EQ(ExtensionAfterLastDot("C:\\App\\LIB.DLL", NoLeadBytes), "DLL");
    EXPECT_EQ(ExtensionAfterLastDot("C:\\App\\lib.dll.bak", NoLeadBytes), "bak");
    EXPECT_EQ(ExtensionAfterLastDot("C:\\App.old\\readme", NoLeadBytes), "old\\readme");
}

TEST(PathText, CopyStopsAtNulAndDropsAHalfCharacter) {
    EXPECT_EQ(CopyWholeCharacters(std::string("ab\0cd", 5), 5, NoLeadBytes), "ab");
    EXPECT_EQ(CopyWholeCharacters("ab\x95\x5C", 3, ShiftJisLike), "ab");
    EXPECT_EQ(CopyWholeCharacters("ab\x95\x5C", 4, ShiftJisLike), "ab\x95\x5C");
}
