#include "install_log_file.h"

#include "path_helpers.h"
#include "path_text.h"
#include "unique_handle.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE;

// A plain file with one name: no link, no reparse point, no directory, and
// no second name through which someone else's file would be written.
bool IsPlainFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    return ::GetFileInformationByHandle(file, &info) &&
           !(info.dwFileAttributes &
             (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) &&
           info.nNumberOfLinks == 1;
}

// The same file-system object: its volume and its index on it.
bool SameObject(const std::string& a, const std::string& b) {
    const auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        UniqueFileHandle handle(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                              kShared | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return handle && ::GetFileInformationByHandle(handle.get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION first, second;
    return identity(a, first) && identity(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

// Whether the opened file is the one named `path`, not one a link leads to:
// the name it was reached under and the folder it lies in are those of the
// path. (Some file systems show no reparse point for a link to a file.)
bool ReachedUnderItsOwnName(HANDLE file, const std::string& path) {
    using GetFinalPath = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    const auto get = reinterpret_cast<GetFinalPath>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
    if (!get)
        return true; // older Windows has no file-name links to follow
    char buffer[MAX_PATH * 4];
    const DWORD length = get(file, buffer, sizeof buffer, 0);
    if (length == 0 || length >= sizeof buffer)
        return false;
    const std::string reached(buffer, length);
    return setupcore::EqualsIgnoringAsciiCase(ExtractFileName(reached, true),
                                              ExtractFileName(path, true)) &&
           SameObject(ExtractDirectory(reached), ExtractDirectory(path));
}

// Printable text: a control character, from a record or a message, could
// otherwise start a line of its own or hide what follows.
std::string Escaped(const std::string& text) {
    std::string escaped;
    for (char ch : text) {
        const unsigned char byte = static_cast<unsigned char>(ch);
        if (byte >= 0x20 && byte != 0x7F) {
            escaped += ch;
            continue;
        }
        char code[8];
        std::snprintf(code, sizeof code, "\\x%02X", byte);
        escaped += code;
    }
    return escaped;
}

} // namespace

bool InstallLogFile::Open(const std::string& path) {
    file_.reset(::CreateFileA(path.c_str(), FILE_APPEND_DATA, kShared, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file_)
        return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
        return false;
    // Appended to only when it is a plain file: a link planted under the
    // log's name would have this run write into a file of someone's choosing.
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    file_.reset(::CreateFileA(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, kShared,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file_ && !(IsPlainFile(file_.get()) && ReachedUnderItsOwnName(file_.get(), path)))
        file_.reset();
    return static_cast<bool>(file_);
}

void InstallLogFile::Line(const std::string& text) {
    if (!file_)
        return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    // One write a line, unbuffered: the system has it even if this process
    // is killed the next moment, and lines of two processes never interleave.
    const std::string line = stamp + Escaped(text) + "\r\n";
    DWORD written = 0;
    ::WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string DefaultLogPath(const std::string& programPath) {
    return AppendPath(TemporaryDirectoryPath(), ExtractFileName(programPath, false) + ".log");
}
