// The version resource of an installed program, read as the uninstall entry
// will show it when the package states no version.
#include "test_files.h"
#include "test_support.h"
#include "version_info.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::string OwnPath() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

} // namespace

TEST(VersionInfo, ReadsTheSampleApplicationsVersionAndCompany) {
    const VersionInfo info = ReadVersionInfo(OwnDirectory() + "\\..\\sample\\KestrelNotes.exe");
    EXPECT_EQ(info.version, KESTREL_NOTES_VERSION);
    EXPECT_EQ(info.company, "Kestrel Software");
    EXPECT_TRUE(info.hasNumbers);
}

// Only a FileVersion, in a block that only the translation table names; the
// numbers come from the product version, whatever the text says.
TEST(VersionInfo, TakesTheFileVersionFromTheBlockTheTableNames) {
    const VersionInfo info = ReadVersionInfo(OwnDirectory() + "\\version_fixture.exe");
    EXPECT_EQ(info.version, "3.4.5.6");
    EXPECT_EQ(info.company, "Turmfalke GmbH");
    ASSERT_TRUE(info.hasNumbers);
    EXPECT_EQ(info.major, 7);
    EXPECT_EQ(info.minor, 8);
    EXPECT_EQ(info.build, 9);
    EXPECT_EQ(info.revision, 10);
}

TEST(VersionInfo, NothingFromAFileWithoutVersionResource) {
    TempDir temp;
    WriteFileBytes(temp / "notes.txt", "not a program");
    const struct {
        const char* name;
        std::string path;
    } rows[] = {
        {"program without resource", OwnPath()}, // this test links no resource
        {"text file", temp / "notes.txt"},
        {"missing file", temp / "absent.exe"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const VersionInfo info = ReadVersionInfo(row.path);
        EXPECT_EQ(info.version, "");
        EXPECT_EQ(info.company, "");
        EXPECT_FALSE(info.hasNumbers);
    }
}
