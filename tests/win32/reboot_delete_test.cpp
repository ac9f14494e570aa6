// Deletion at restart on the NT family: the request lands in the session
// manager's pending renames.
#include "reboot_delete.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

std::wstring PendingRenames() {
    HKEY key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                        0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"";
    DWORD size = 0;
    ::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size);
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(&value[0]), &size);
    ::RegCloseKey(key);
    for (wchar_t& c : value)
        if (c == L'\0')
            c = L'|';
    return value;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

} // namespace

TEST(DeleteOnRebootNT, RunsOnTheNtFamily) { EXPECT_TRUE(IsWindowsNT()); }

TEST(DeleteOnRebootNT, SchedulesFilesAndDirectoriesAlike) {
    TempDir temp;
    WriteFileBytes(temp / "busy.dll", "x");
    ::CreateDirectoryA((temp / "dir").c_str(), nullptr);
    EXPECT_TRUE(DeleteOnReboot(temp / "busy.dll"));
    EXPECT_TRUE(DeleteOnReboot(temp / "dir"));
    std::wstring pending = PendingRenames();
    EXPECT_NE(pending.find(Wide(temp / "busy.dll") + L"|"), std::wstring::npos);
    EXPECT_NE(pending.find(Wide(temp / "dir") + L"|"), std::wstring::npos);
}

TEST(DeleteOnRebootNT, WininitPathLiesInTheWindowsDirectory) {
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    std::string expected = windows;
    if (expected.back() != '\\')
        expected += '\\';
    EXPECT_EQ(GetWininitPath(), expected + "WININIT.INI");
}
