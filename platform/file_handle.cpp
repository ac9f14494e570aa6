#include "file_handle.h"

#include "run_journal.h"

#include <new>

bool FileHandle::Take(HANDLE handle) {
    handle_.reset(handle); // keeps the creation's error for the caller
    return static_cast<bool>(handle_);
}

bool FileHandle::Open(const std::string& path, DWORD access, DWORD share) {
    return Take(::CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool FileHandle::Create(const std::string& path, DWORD access, DWORD share) {
    return Take(::CreateFileA(path.c_str(), access, share, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool FileHandle::CreateNew(const std::string& path, DWORD access, DWORD share) {
    return Take(::CreateFileA(path.c_str(), access, share, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool FileHandle::Read(void* buffer, DWORD size, DWORD& got) {
    got = 0;
    return ::ReadFile(handle_.get(), buffer, size, &got, nullptr) != FALSE;
}

bool FileHandle::Write(const void* data, DWORD size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(handle_.get(), bytes, size, &written, nullptr))
            return false;
        if (written == 0) {
            // Success without progress would loop for ever; no file system
            // does this but a full one.
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool FileHandle::Truncate() {
    return ::SetFilePointer(handle_.get(), 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
           ::SetEndOfFile(handle_.get());
}

bool FileHandle::Size(uint64_t& size) const {
    LARGE_INTEGER value;
    if (!::GetFileSizeEx(handle_.get(), &value))
        return false;
    size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

WholeFileResult ReadWholeFile(const std::string& path, DWORD share, uint64_t maxSize,
                              std::string& contents) {
    FileHandle file;
    uint64_t size = 0;
    if (!file.Open(path, GENERIC_READ, share))
        return WholeFileResult::OpenFailed;
    if (!file.Size(size))
        return WholeFileResult::ReadFailed;
    if (size > maxSize || size > MAXDWORD)
        return WholeFileResult::TooLarge;
    try {
        contents.assign(static_cast<size_t>(size), '\0');
    } catch (const std::bad_alloc&) {
        return WholeFileResult::NoMemory;
    }
    DWORD got = 0;
    if (size && (!file.Read(&contents[0], static_cast<DWORD>(size), got) || got != size))
        return WholeFileResult::ReadFailed;
    return WholeFileResult::Ok;
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    const std::string part = setupcore::PartName(path);
    {
        FileHandle file;
        if (!file.Create(part, GENERIC_WRITE, 0) ||
            !file.Write(bytes.data(), static_cast<DWORD>(bytes.size()))) {
            const DWORD error = ::GetLastError();
            file = FileHandle();
            ::DeleteFileA(part.c_str());
            ::SetLastError(error);
            return false;
        }
    }
    if (::MoveFileExA(part.c_str(), path.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = ::GetLastError();
    ::DeleteFileA(part.c_str());
    ::SetLastError(error);
    return false;
}
