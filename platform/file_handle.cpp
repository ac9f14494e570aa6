#include "file_handle.h"

#include <new>

bool FileHandle::Remember(HANDLE handle) {
    handle_.reset(handle);
    error_ = handle_ ? ERROR_SUCCESS : ::GetLastError();
    return static_cast<bool>(handle_);
}

bool FileHandle::Open(const std::string& path, DWORD access, DWORD share) {
    return Remember(::CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool FileHandle::Create(const std::string& path, DWORD access, DWORD share) {
    return Remember(::CreateFileA(path.c_str(), access, share, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool FileHandle::Read(void* buffer, DWORD size, DWORD& got) {
    got = 0;
    if (::ReadFile(handle_.get(), buffer, size, &got, nullptr))
        return true;
    error_ = ::GetLastError();
    return false;
}

bool FileHandle::Write(const void* data, DWORD size) {
    DWORD written = 0;
    if (::WriteFile(handle_.get(), data, size, &written, nullptr) && written == size)
        return true;
    error_ = written == size ? ::GetLastError() : ERROR_DISK_FULL;
    return false;
}

bool FileHandle::Size(uint64_t& size) const {
    LARGE_INTEGER value;
    if (!::GetFileSizeEx(handle_.get(), &value))
        return false;
    size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

WholeFileResult ReadWholeFile(const std::string& path, DWORD share, std::string& contents) {
    FileHandle file;
    uint64_t size = 0;
    if (!file.Open(path, GENERIC_READ, share))
        return WholeFileResult::OpenFailed;
    if (!file.Size(size) || size > MAXDWORD)
        return WholeFileResult::ReadFailed;
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
