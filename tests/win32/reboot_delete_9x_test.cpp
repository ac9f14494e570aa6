// Deletion at restart on the older family, where WININIT.INI's Rename section
// lists every path to delete. This program runs with Wine told to report the
// older platform.
#include "reboot_delete.h"
#include "test_support.h"

#include <gtest/gtest.h>

TEST(DeleteOnReboot9x, RunsOnTheOlderFamily) {
    EXPECT_FALSE(IsWindowsNT());
}

// The older family reads WININIT.INI before long file names are available,
// so an existing path is written in its short form; a path the file system
// cannot shorten (one that is gone already) is written as given.
TEST(DeleteOnReboot9x, EveryScheduledPathKeepsALineOfItsOwnInItsShortForm) {
    const FileGuard wininit(GetWininitPath());
    ::DeleteFileA(wininit.Path().c_str());
    TempDir temp;
    const std::string longName = temp / "a rather long library name.dll";
    WriteFileBytes(longName, "x");
    char shortName[MAX_PATH];
    ASSERT_NE(::GetShortPathNameA(longName.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(longName, shortName);

    EXPECT_TRUE(DeleteOnReboot(longName));
    EXPECT_TRUE(DeleteOnReboot(temp / "gone.dll"));
    const std::string ini = ReadFileBytes(wininit.Path());
    EXPECT_NE(ini.find("[Rename]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("NUL=" + std::string(shortName) + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("NUL=" + temp / "gone.dll"), std::string::npos) << ini;
}
