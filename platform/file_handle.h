// An open file, closed when the object goes. Open and Create return whether
// they succeeded; LastError keeps the system's reason.
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
    void Close() { handle_.reset(); }

    // Reads up to `size` bytes; `got` is 0 at the end of the file.
    bool Read(void* buffer, DWORD size, DWORD& got);
    // Writes all `size` bytes or fails.
    bool Write(const void* data, DWORD size);
    bool Size(uint64_t& size) const;

    bool IsOpen() const { return static_cast<bool>(handle_); }
    HANDLE Get() const { return handle_.get(); }
    DWORD LastError() const { return error_; }

private:
    bool Remember(HANDLE handle);
    UniqueFileHandle handle_;
    DWORD error_ = ERROR_SUCCESS;
};

// Reads a whole (small) file, such as an index or a record, into memory.
enum class WholeFileResult { Ok, OpenFailed, NoMemory, ReadFailed };
WholeFileResult ReadWholeFile(const std::string& path, DWORD share, std::string& contents);
