#include "hand_off_directory.h"

#include "ansi_text.h"
#include "install_log.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "unique_handle.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr size_t kHandOffDigits = 8;

// The plain files directly in `directory`; a link is deleted as itself,
// never followed.
bool RemoveFilesIn(const std::string& directory) {
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(AppendPath(directory, "*").c_str(), &found));
    bool all = true;
    if (!search)
        return all;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            all = false; // none is ever made there: not ours to judge
        else if (!::DeleteFileA(AppendPath(directory, name).c_str()))
            all = false;
    } while (::FindNextFileA(search.get(), &found));
    return all;
}

} // namespace

std::string HandOffName(const std::string& programBaseName, unsigned long number) {
    char digits[kHandOffDigits + 1];
    std::snprintf(digits, sizeof digits, "%08lX", number);
    return programBaseName + "-" + digits;
}

std::string MakeHandOffDirectory(const std::string& temporaryDirectory,
                                 const std::string& programBaseName) {
    DWORD number = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt, ++number) {
        const std::string directory =
            AppendPath(temporaryDirectory, HandOffName(programBaseName, number));
        if (::CreateDirectoryA(directory.c_str(), nullptr))
            return directory;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
    return std::string();
}

bool IsHandOffDirectory(const std::string& directory, const std::string& programBaseName) {
    const std::string name = ExtractFileName(directory, true);
    const setupcore::CanonicalPath parent = CanonicalPathOf(ExtractDirectory(directory));
    const setupcore::CanonicalPath temporary = CanonicalPathOf(TemporaryDirectoryPath());
    return parent && temporary && name.size() == programBaseName.size() + 1 + kHandOffDigits &&
           setupcore::EqualsIgnoringAsciiCase(name.substr(0, programBaseName.size() + 1),
                                              programBaseName + "-") &&
           name.find_first_not_of("0123456789ABCDEF", programBaseName.size() + 1) ==
               std::string::npos &&
           setupcore::IsSamePath(parent.path, temporary.path, IsAnsiLeadByte);
}

void RemoveStaleHandOffDirectories(const std::string& programBaseName,
                                   const std::string& ownDirectory, InstallLog* log) {
    const setupcore::CanonicalPath temporary = CanonicalPathOf(TemporaryDirectoryPath());
    if (!temporary || programBaseName.empty())
        return;
    std::vector<std::string> stale;
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(
        AppendPath(temporary.path, programBaseName + "-????????").c_str(), &found));
    if (search) {
        do {
            const std::string directory = AppendPath(temporary.path, found.cFileName);
            // A link to a directory elsewhere is no hand-off directory of ours.
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                IsHandOffDirectory(directory, programBaseName) &&
                !setupcore::EqualsIgnoringAsciiCase(directory, ownDirectory) &&
                !LinkOnTheWay(temporary.path, directory))
                stale.push_back(directory);
        } while (::FindNextFileA(search.get(), &found));
    }
    for (const std::string& directory : stale) {
        // The copy first: while it runs, its file stays, and so does the rest.
        const std::string copy = AppendPath(directory, programBaseName + ".exe");
        if (::GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES &&
            !::DeleteFileA(copy.c_str()))
            continue;
        if (RemoveFilesIn(directory) && ::RemoveDirectoryA(directory.c_str()))
            LogLine(log, "Removed what an earlier uninstallation left: " + directory);
    }
}
