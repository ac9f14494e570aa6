#include "reboot_delete.h"

#include "path_helpers.h"

#include <vector>

BOOL IsWindowsNT() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    // Should the query itself fail, assume the family every current Windows belongs to.
    if (!::GetVersionExA(&info))
        return TRUE;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::string GetWininitPath() {
    std::string directory = WindowsDirectory();
    if (directory.empty() || directory.back() != '\\')
        directory += '\\';
    return directory + "WININIT.INI";
}

namespace {

// The section's lines as "key=value\0...\0\0", however long it has grown.
std::vector<char> ReadProfileSection(const char* section, const std::string& file) {
    std::vector<char> lines(4096);
    for (;;) {
        DWORD length = ::GetPrivateProfileSectionA(section, lines.data(),
                                                   static_cast<DWORD>(lines.size()), file.c_str());
        if (length + 2 < lines.size()) {
            lines.resize(length);
            return lines;
        }
        lines.resize(lines.size() * 2);
    }
}

// Adds one "NUL=path" line to the Rename section. Every scheduled path needs a
// line of its own: writing the key "NUL" again would replace the earlier path,
// and that file would then never be deleted.
BOOL AppendRenameEntry(const std::string& path, const std::string& wininit) {
    std::vector<char> lines = ReadProfileSection("Rename", wininit);
    std::string entry = "NUL=" + path;
    lines.insert(lines.end(), entry.begin(), entry.end());
    lines.push_back('\0');
    lines.push_back('\0');
    return ::WritePrivateProfileSectionA("Rename", lines.data(), wininit.c_str());
}

} // namespace

namespace {

// The older family processes WININIT.INI before long file names are
// available, so a long name there would never be deleted: use the 8.3 form
// where the file system gives one.
std::string ShortFormOf(const std::string& path) {
    DWORD needed = ::GetShortPathNameA(path.c_str(), nullptr, 0);
    if (needed == 0)
        return path;
    std::vector<char> buffer(needed);
    DWORD length = ::GetShortPathNameA(path.c_str(), buffer.data(), needed);
    return length > 0 && length < needed ? std::string(buffer.data(), length) : path;
}

} // namespace

BOOL DeleteOnReboot(const std::string& path) {
    std::string wininit = GetWininitPath();
    if (IsWindowsNT())
        return ::MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return AppendRenameEntry(ShortFormOf(path), wininit);
}

namespace {

// Up to `tries` attempts, 100 ms after each failure; then, unless the path
// is gone, it is scheduled for the next restart.
Removal RemoveNowOrAtRestart(const std::string& path, BOOL(WINAPI* remove)(LPCSTR), int tries) {
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (remove(path.c_str()))
            return Removal::Removed;
        DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return Removal::Removed;
        if (tries > 1)
            ::Sleep(100);
    }
    return DeleteOnReboot(path) ? Removal::Scheduled : Removal::Failed;
}

} // namespace

Removal DeleteFileNowOrAtRestart(const std::string& path) {
    return RemoveNowOrAtRestart(path, ::DeleteFileA, 1);
}

Removal DeleteFileWhenReleased(const std::string& path) {
    return RemoveNowOrAtRestart(path, ::DeleteFileA, 5);
}

Removal RemoveDirectoryNowOrAtRestart(const std::string& path) {
    return RemoveNowOrAtRestart(path, ::RemoveDirectoryA, 1);
}
