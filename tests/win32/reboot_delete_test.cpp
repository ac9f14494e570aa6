// Deletion at restart on the NT family: the request lands in the session
// manager's pending renames.
#include "reboot_delete.h"
#include "test_support.h"

#include <gtest/gtest.h>

TEST(DeleteOnRebootNT, RunsOnTheNtFamily) {
    EXPECT_TRUE(IsWindowsNT());
}

TEST(DeleteOnRebootNT, SchedulesFilesAndDirectoriesAlike) {
    TempDir temp;
    WriteFileBytes(temp / "busy.dll", "x");
    ::CreateDirectoryA((temp / "dir").c_str(), nullptr);
    EXPECT_TRUE(DeleteOnReboot(temp / "busy.dll"));
    EXPECT_TRUE(DeleteOnReboot(temp / "dir"));
    std::string pending = PendingRestartDeletions();
    EXPECT_NE(pending.find(temp / "busy.dll|"), std::string::npos);
    EXPECT_NE(pending.find(temp / "dir|"), std::string::npos);
}

TEST(DeleteOnRebootNT, WininitPathLiesInTheWindowsDirectory) {
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    std::string expected = windows;
    if (expected.back() != '\\')
        expected += '\\';
    EXPECT_EQ(GetWininitPath(), expected + "WININIT.INI");
}
