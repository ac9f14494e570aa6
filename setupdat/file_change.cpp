#include "file_change.h"

#include "file_handle.h"

#include <memory>

namespace {

bool ReadWhole(const std::string& path, std::string& bytes) {
    FileHandle file;
    uint64_t size = 0;
    if (!file.Open(path, GENERIC_READ, FILE_SHARE_READ) || !file.Size(size) || size > (64u << 20))
        return false;
    bytes.resize(static_cast<size_t>(size));
    DWORD got = 0;
    return size == 0 || (file.Read(&bytes[0], static_cast<DWORD>(size), got) && got == size);
}

class FileWrite : public Change {
public:
    explicit FileWrite(std::string path) : path_(std::move(path)) {
        existed_ = ReadWhole(path_, bytes_);
    }
    void Undo() override {
        if (!existed_) {
            ::DeleteFileA(path_.c_str());
            return;
        }
        FileHandle file;
        if (file.Create(path_, GENERIC_WRITE, 0))
            file.Write(bytes_.data(), static_cast<DWORD>(bytes_.size()));
    }

private:
    std::string path_;
    bool existed_ = false;
    std::string bytes_;
};

} // namespace

void JournalFileWrite(InstallTransaction& run, const std::string& path) {
    run.Journal(std::make_unique<FileWrite>(path));
}
