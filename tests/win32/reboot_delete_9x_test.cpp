// Deletion at restart on the older family, where WININIT.INI's Rename section
// lists every path to delete. This program runs with Wine told to report the
// older platform.
#include "reboot_delete.h"
#include "test_support.h"

#include <gtest/gtest.h>

TEST(DeleteOnReboot9x, RunsOnTheOlderFamily) {
    EXPECT_FALSE(IsWindowsNT());
}

TEST(DeleteOnReboot9x, EveryScheduledPathKeepsALineOfItsOwn) {
    ::DeleteFileA(GetWininitPath().c_str());
    TempDir temp;
    EXPECT_TRUE(DeleteOnReboot(temp / "first.dll"));
    EXPECT_TRUE(DeleteOnReboot(temp / "second.dll"));
    std::string ini = ReadFileBytes(GetWininitPath());
    ::DeleteFileA(GetWininitPath().c_str());
    EXPECT_NE(ini.find("[Rename]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("NUL=" + temp / "first.dll"), std::string::npos) << ini;
    EXPECT_NE(ini.find("NUL=" + temp / "second.dll"), std::string::npos) << ini;
}
