#include "setup_directory_sweep.h"

#include "ansi_text.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "path_text.h"
#include "shell_link.h"
#include "reboot_delete.h"
#include "unique_handle.h"

#include <shlobj.h>

#include <algorithm>

namespace {

bool IsPackageFile(const std::vector<std::string>& packageFiles, const std::string& name) {
    return std::any_of(packageFiles.begin(), packageFiles.end(), [&](const std::string& file) {
        return setupcore::EqualsIgnoringAsciiCase(file, name);
    });
}

// The folders the shell and Windows keep for the user or the system: a setup
// program started from one of them leaves it standing, empty or not.
constexpr int kKeptFolders[] = {
    CSIDL_DESKTOP,  CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_PROFILE,
    CSIDL_APPDATA,  CSIDL_LOCAL_APPDATA,    CSIDL_COMMON_APPDATA,
    CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS,  CSIDL_STARTMENU,
    CSIDL_STARTUP,  CSIDL_PROGRAM_FILES,    CSIDL_WINDOWS,
    CSIDL_SYSTEM,   CSIDL_MYMUSIC,          CSIDL_MYPICTURES,
    CSIDL_MYVIDEO,  CSIDL_TEMPLATES,        CSIDL_INTERNET_CACHE,
};

// Downloads has no CSIDL; its known-folder id is asked for where the shell
// has known folders at all.
std::string DownloadsFolder() {
    using GetKnownFolderPath = HRESULT(WINAPI*)(REFGUID, DWORD, HANDLE, PWSTR*);
    static const GUID kDownloads = {
        0x374DE290, 0x123F, 0x4565, {0x91, 0x64, 0x39, 0xC4, 0x92, 0x5E, 0x46, 0x7B}};
    HMODULE shell = ::GetModuleHandleA("shell32.dll");
    auto get = reinterpret_cast<GetKnownFolderPath>(
        reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetKnownFolderPath")));
    PWSTR wide = nullptr;
    if (!get || FAILED(get(kDownloads, 0, nullptr, &wide)))
        return std::string();
    char path[MAX_PATH * 2] = "";
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, path, sizeof path, nullptr, nullptr);
    ::CoTaskMemFree(wide);
    return path;
}

} // namespace

bool IsKeptFolder(const std::string& directory) {
    const std::vector<std::string> parts = setupcore::PathComponents(directory, IsAnsiLeadByte);
    if (parts.size() <= 1)
        return true; // a drive's or a share's root, or a path nobody can judge
    if (parts[0] == "\\\\" && parts.size() <= 3)
        return true; // \\server\share
    std::vector<std::string> kept = {DownloadsFolder(), TemporaryDirectoryPath()};
    for (int folder : kKeptFolders)
        kept.push_back(SpecialFolderPath(folder));
    return std::any_of(kept.begin(), kept.end(), [&](const std::string& folder) {
        return !folder.empty() && setupcore::IsWithin(directory, folder, IsAnsiLeadByte) &&
               setupcore::IsWithin(folder, directory, IsAnsiLeadByte);
    });
}

void SweepSetupDirectory(const std::string& setupDirectory,
                         const std::vector<std::string>& packageFiles) {
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(AppendPath(setupDirectory, "*").c_str(), &found));
    if (!search)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!IsPackageFile(packageFiles, found.cFileName))
            continue;
        const std::string path = AppendPath(setupDirectory, found.cFileName);
        if (path.find(".exe") != std::string::npos)
            DeleteOnReboot(path); // the running setup program cannot delete itself
        else
            DeleteFileNowOrAtRestart(path);
    } while (::FindNextFileA(search.get(), &found));
    search.reset();
    if (!IsKeptFolder(setupDirectory))
        DeleteOnReboot(setupDirectory);
}
