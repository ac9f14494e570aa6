// An open file, closed when the object goes. Every call returns whether it
// succeeded; on failure GetLastError() still holds the system's reason, since
// closing a handle never disturbs it.
#pragma once

#include "unique_handle.h"

#include <cstdint>
#include <string>

class FileHandle {
public:
    // Opens an existing file.
    bool Open(const std::string& path, DWORD access, DWORD share);
    // Creates a file, truncating one that exists.
    bool Create(const std::string& path, DWORD access, DWORD share);
    // Creates a file that does not exist yet; fails with ERROR_FILE_EXISTS
    // when it does, so one call both makes the file and tells whether it was new.
    bool CreateNew(const std::string& path, DWORD access, DWORD share);

    // Reads up to `size` bytes; `got` is 0 at the end of the file.
    bool Read(void* buffer, DWORD size, DWORD& got);
    // Writes all `size` bytes or fails.
    bool Write(const void* data, DWORD size);
    bool Size(uint64_t& size) const;
    // Cuts the file back to nothing.
    bool Truncate();

private:
    bool Take(HANDLE handle);
    UniqueFileHandle handle_;
};

// Reads a whole (small) file, such as an index or a record, into memory. A
// file larger than `maxSize` is refused before anything is allocated for it.
// Writes `bytes` as the whole of `path`: beside it first (`name.kst-part`),
// then renamed over it, so that whenever the process ends the file holds
// its old bytes or its new ones, never a part. False when it could not
// (GetLastError tells why); the old file then stays as it was.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes);

enum class WholeFileResult { Ok, OpenFailed, NoMemory, ReadFailed, TooLarge };
WholeFileResult ReadWholeFile(const std::string& path, DWORD share, uint64_t maxSize,
                              std::string& contents);
