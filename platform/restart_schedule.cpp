#include "restart_schedule.h"

#include "reboot_delete.h"
#include "reg_key_holder.h"

#include <windows.h>

#include <vector>

namespace {

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingValue[] = L"PendingFileRenameOperations";

std::wstring Wide(const std::string& text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

bool IsOneOf(const std::wstring& scheduled, const std::vector<std::wstring>& paths) {
    // The schedule names each file in the form "\??\C:\dir\file".
    const std::wstring prefix = L"\\??\\";
    const std::wstring path = scheduled.compare(0, prefix.size(), prefix) == 0
                                  ? scheduled.substr(prefix.size())
                                  : scheduled;
    for (const std::wstring& candidate : paths)
        if (::lstrcmpiW(candidate.c_str(), path.c_str()) == 0)
            return true;
    return false;
}

// The strings of a REG_MULTI_SZ value, in order, empty ones included.
std::vector<std::wstring> SplitMultiString(const std::vector<wchar_t>& data) {
    std::vector<std::wstring> strings;
    size_t start = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] != L'\0')
            continue;
        strings.emplace_back(&data[start], i - start);
        start = i + 1;
    }
    return strings;
}

int CancelInRegistry(const std::vector<std::wstring>& paths) {
    CRegKeyHolder key;
    if (key.Open(HKEY_LOCAL_MACHINE, kSessionManager, KEY_QUERY_VALUE | KEY_SET_VALUE) !=
        ERROR_SUCCESS)
        return 0; // whoever cannot change the schedule could not have added to it either
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key.m_hKey, kPendingValue, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return 0;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
    if (::RegQueryValueExW(key.m_hKey, kPendingValue, nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return -1;
    data.resize(size / sizeof(wchar_t));
    // Pairs of a source and a target; an empty target is a deletion.
    std::vector<std::wstring> strings = SplitMultiString(data);
    while (!strings.empty() && strings.back().empty() && strings.size() % 2)
        strings.pop_back(); // the terminating empty string
    std::vector<wchar_t> kept;
    int cancelled = 0;
    for (size_t i = 0; i + 1 < strings.size(); i += 2) {
        if (strings[i + 1].empty() && IsOneOf(strings[i], paths)) {
            ++cancelled;
            continue;
        }
        for (size_t j = i; j < i + 2; ++j) {
            kept.insert(kept.end(), strings[j].begin(), strings[j].end());
            kept.push_back(L'\0');
        }
    }
    if (cancelled == 0)
        return 0;
    kept.push_back(L'\0');
    const LONG result = kept.size() == 1
                            ? ::RegDeleteValueW(key.m_hKey, kPendingValue)
                            : ::RegSetValueExW(key.m_hKey, kPendingValue, 0, REG_MULTI_SZ,
                                               reinterpret_cast<const BYTE*>(kept.data()),
                                               static_cast<DWORD>(kept.size() * sizeof(wchar_t)));
    return result == ERROR_SUCCESS ? cancelled : -1;
}

std::string ShortFormOf(const std::string& path) {
    char buffer[MAX_PATH * 2];
    const DWORD length = ::GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

// "NUL=path" lines of WININIT.INI's Rename section, in the long or the
// short form of the path.
int CancelInWininit(const std::vector<std::string>& paths) {
    const std::string wininit = GetWininitPath();
    std::vector<char> lines(1 << 16);
    const DWORD length = ::GetPrivateProfileSectionA(
        "Rename", lines.data(), static_cast<DWORD>(lines.size()), wininit.c_str());
    std::vector<char> kept;
    int cancelled = 0;
    for (DWORD at = 0; at < length && lines[at];) {
        const std::string line(&lines[at]);
        at += static_cast<DWORD>(line.size()) + 1;
        bool ours = false;
        for (const std::string& path : paths)
            ours = ours || ::lstrcmpiA(line.c_str(), ("NUL=" + path).c_str()) == 0 ||
                   ::lstrcmpiA(line.c_str(), ("NUL=" + ShortFormOf(path)).c_str()) == 0;
        if (ours) {
            ++cancelled;
            continue;
        }
        kept.insert(kept.end(), line.begin(), line.end());
        kept.push_back('\0');
    }
    if (cancelled == 0)
        return 0;
    kept.push_back('\0');
    kept.push_back('\0');
    return ::WritePrivateProfileSectionA("Rename", kept.data(), wininit.c_str()) ? cancelled : -1;
}

} // namespace

int CancelRestartDeletions(const std::vector<std::string>& paths) {
    if (paths.empty())
        return 0;
    if (!IsWindowsNT())
        return CancelInWininit(paths);
    std::vector<std::wstring> wide;
    for (const std::string& path : paths)
        wide.push_back(Wide(path));
    return CancelInRegistry(wide);
}
