#include "kept_folders.h"

#include "ansi_text.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "shell_link.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kKeptFolders[] = {
    CSIDL_DESKTOP,
    CSIDL_DESKTOPDIRECTORY,
    CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_PERSONAL,
    CSIDL_COMMON_DOCUMENTS,
    CSIDL_PROFILE,
    CSIDL_APPDATA,
    CSIDL_LOCAL_APPDATA,
    CSIDL_COMMON_APPDATA,
    CSIDL_PROGRAMS,
    CSIDL_COMMON_PROGRAMS,
    CSIDL_STARTMENU,
    CSIDL_COMMON_STARTMENU,
    CSIDL_STARTUP,
    CSIDL_COMMON_STARTUP,
    CSIDL_PROGRAM_FILES,
    CSIDL_PROGRAM_FILESX86,
    CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_WINDOWS,
    CSIDL_SYSTEM,
    CSIDL_SYSTEMX86,
    CSIDL_MYMUSIC,
    CSIDL_MYPICTURES,
    CSIDL_MYVIDEO,
    CSIDL_TEMPLATES,
    CSIDL_INTERNET_CACHE,
    CSIDL_FAVORITES,
    CSIDL_COMMON_FAVORITES,
    CSIDL_SENDTO,
    CSIDL_RECENT,
    CSIDL_FONTS,
    CSIDL_NETHOOD,
    CSIDL_PRINTHOOD,
    CSIDL_COOKIES,
    CSIDL_HISTORY,
    CSIDL_ADMINTOOLS,
};

// Downloads, Links and Contacts have no CSIDL; their known-folder ids are
// asked for where the shell has known folders at all.
constexpr GUID kKnownFolders[] = {
    {0x374DE290, 0x123F, 0x4565, {0x91, 0x64, 0x39, 0xC4, 0x92, 0x5E, 0x46, 0x7B}}, // Downloads
    {0xBFB9D5E0, 0xC6A9, 0x404C, {0xB2, 0xB2, 0xAE, 0x6D, 0xB6, 0xAF, 0x49, 0x68}}, // Links
    {0x56784854, 0xC6CB, 0x462B, {0x81, 0x69, 0x88, 0xE3, 0x50, 0xAC, 0xB8, 0x82}}, // Contacts
};

std::string KnownFolderPath(const GUID& id) {
    using GetKnownFolderPath = HRESULT(WINAPI*)(REFGUID, DWORD, HANDLE, PWSTR*);
    HMODULE shell = ::GetModuleHandleA("shell32.dll");
    auto get = reinterpret_cast<GetKnownFolderPath>(
        reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetKnownFolderPath")));
    PWSTR wide = nullptr;
    if (!get || FAILED(get(id, 0, nullptr, &wide)))
        return std::string();
    char path[MAX_PATH * 2] = "";
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, path, sizeof path, nullptr, nullptr);
    ::CoTaskMemFree(wide);
    return path;
}

std::vector<std::string> KeptFolderPaths() {
    std::vector<std::string> kept = {TemporaryDirectoryPath()};
    for (const GUID& id : kKnownFolders)
        kept.push_back(KnownFolderPath(id));
    for (int folder : kKeptFolders)
        kept.push_back(SpecialFolderPath(folder));
    return kept;
}

} // namespace

bool IsKeptFolder(const std::string& directory) {
    const std::vector<std::string> parts = setupcore::PathComponents(directory, IsAnsiLeadByte);
    if (parts.size() <= 1)
        return true; // a drive's root, or a path nobody can judge
    if (parts[0] == "\\\\" && parts.size() <= 3)
        return true; // \\server\share
    const std::vector<std::string> kept = KeptFolderPaths();
    return std::any_of(kept.begin(), kept.end(), [&](const std::string& folder) {
        const setupcore::CanonicalPath canonical = CanonicalPathOf(folder);
        return canonical && setupcore::IsSamePath(directory, canonical.path, IsAnsiLeadByte);
    });
}
