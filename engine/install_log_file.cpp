#include "install_log_file.h"

#include "path_helpers.h"

#include <windows.h>

#include <cstdio>
#include <vector>

bool InstallLogFile::Open(const std::string& path) {
    file_.reset(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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
    std::string line = stamp + text;
    for (char& ch : line)
        if (ch == '\r' || ch == '\n')
            ch = ' '; // a message's line breaks would split its entry
    line += "\r\n";
    DWORD written = 0;
    ::WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string DefaultLogPath(const std::string& programPath) {
    return AppendPath(TemporaryDirectoryPath(), ExtractFileName(programPath, false) + ".log");
}
