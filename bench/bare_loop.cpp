#include "bare_loop.h"

#include "bench_support.h"
#include "file_handle.h"
#include "zlib_stream.h"

namespace bench {

namespace {

constexpr DWORD kChunk = setupcore::kStreamChunk; // the copy run's chunk size

void OpenPair(const std::string& sourcePath, const std::string& targetPath, FileHandle& source,
              FileHandle& target) {
    if (!source.Open(sourcePath, GENERIC_READ, FILE_SHARE_READ) ||
        !target.Create(targetPath, GENERIC_WRITE, 0))
        Die("cannot open %s or create %s", sourcePath.c_str(), targetPath.c_str());
}

DWORD ReadOrDie(FileHandle& source, void* buffer, DWORD size, const std::string& path) {
    DWORD got = 0;
    if (!source.Read(buffer, size, got))
        Die("cannot read %s", path.c_str());
    return got;
}

void WriteOrDie(FileHandle& target, const void* data, DWORD size, const std::string& path) {
    if (size && !target.Write(data, size))
        Die("cannot write %s", path.c_str());
}

} // namespace

BareLoop::BareLoop() : in_(kChunk), out_(kChunk) {
    if (inflateInit(&z_) != Z_OK)
        Die("inflateInit failed");
}

BareLoop::~BareLoop() {
    inflateEnd(&z_);
}

uint64_t BareLoop::Inflate(const std::string& sourcePath, const std::string& targetPath) {
    FileHandle source, target;
    OpenPair(sourcePath, targetPath, source, target);
    int32_t declared = 0;
    if (ReadOrDie(source, &declared, sizeof declared, sourcePath) != sizeof declared)
        Die("%s has no length word", sourcePath.c_str());
    inflateReset(&z_);
    uint64_t produced = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        const DWORD got = ReadOrDie(source, in_.data(), kChunk, sourcePath);
        if (got == 0)
            break;
        z_.next_in = in_.data();
        z_.avail_in = got;
        do {
            z_.next_out = out_.data();
            z_.avail_out = kChunk;
            rc = inflate(&z_, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                Die("%s is damaged (zlib %d)", sourcePath.c_str(), rc);
            const DWORD made = kChunk - z_.avail_out;
            WriteOrDie(target, out_.data(), made, targetPath);
            produced += made;
        } while (z_.avail_out == 0 && rc != Z_STREAM_END);
    }
    if (rc != Z_STREAM_END || produced != static_cast<uint64_t>(declared))
        Die("%s ends early or has the wrong length", sourcePath.c_str());
    return produced;
}

uint64_t BareLoop::Copy(const std::string& sourcePath, const std::string& targetPath) {
    FileHandle source, target;
    OpenPair(sourcePath, targetPath, source, target);
    uint64_t copied = 0;
    while (const DWORD got = ReadOrDie(source, in_.data(), kChunk, sourcePath)) {
        WriteOrDie(target, in_.data(), got, targetPath);
        copied += got;
    }
    return copied;
}

} // namespace bench
