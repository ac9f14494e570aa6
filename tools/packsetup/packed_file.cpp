#include "packsetup/packed_file.h"

#include "packsetup/best_deflate.h"

#include "packsetup/package_plan.h"
#include "packsetup/path_display.h"
#include "zlib_deflate.h"

#include <fstream>
#include <vector>

namespace packsetup {
namespace {

namespace fs = std::filesystem;

bool OpenBoth(const fs::path& source, const fs::path& target, std::ifstream& in, std::ofstream& out,
              std::string& error) {
    in.open(source, std::ios::binary);
    if (!in) {
        error = "cannot open " + Quoted(source) + " for reading";
        return false;
    }
    out.open(target, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot create " + Quoted(target);
        return false;
    }
    return true;
}

// Reads the next chunk; false at the end of the file or on a read error,
// which the caller tells apart with in.bad().
bool ReadChunk(std::ifstream& in, std::vector<char>& buffer, size_t& got) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    got = static_cast<size_t>(in.gcount());
    return got > 0;
}

bool CloseTarget(std::ofstream& out, const fs::path& target, std::string& error) {
    out.close();
    if (out.fail()) {
        error = "cannot write " + Quoted(target);
        return false;
    }
    return true;
}

void WriteLength(std::ofstream& out, uint32_t length) {
    char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    out.write(bytes, 4);
}

} // namespace

bool StorePlain(const fs::path& source, const fs::path& target, ProgressMeter& progress,
                std::string& error) {
    std::ifstream in;
    std::ofstream out;
    if (!OpenBoth(source, target, in, out, error))
        return false;
    std::vector<char> buffer(setupcore::kStreamChunk);
    size_t got = 0;
    while (ReadChunk(in, buffer, got)) {
        if (!out.write(buffer.data(), static_cast<std::streamsize>(got))) {
            error = "cannot write " + Quoted(target);
            return false;
        }
        progress.Advance(got);
    }
    if (in.bad()) {
        error = "cannot read " + Quoted(source);
        return false;
    }
    return CloseTarget(out, target, error);
}

namespace {

// zlib's level 9, a chunk at a time: memory stays the same whatever the size.
bool StoreDeflated(const fs::path& source, const fs::path& target, ProgressMeter& progress,
                   std::string& error) {
    std::ifstream in;
    std::ofstream out;
    if (!OpenBoth(source, target, in, out, error))
        return false;
    // The length goes in last, once the whole source has been read: it then
    // matches the stream even if the file changed since it was checked.
    WriteLength(out, 0);
    setupcore::Deflater deflater;
    setupcore::ByteSink sink = [&out](const uint8_t* data, size_t size) {
        return static_cast<bool>(
            out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size)));
    };
    std::vector<char> buffer(setupcore::kStreamChunk);
    uint64_t total = 0;
    size_t got = 0;
    while (ReadChunk(in, buffer, got)) {
        total += got;
        if (total > kMaxCompressedInput) {
            error = Quoted(source) + " grew past 2 GiB - 1 bytes while it was read; a compressed "
                                     "file records its length as an int32";
            return false;
        }
        const auto* bytes = reinterpret_cast<const uint8_t*>(buffer.data());
        if (deflater.Feed(bytes, got, sink) != setupcore::StreamStatus::Ok) {
            error = "cannot compress " + Quoted(source) + " into " + Quoted(target);
            return false;
        }
        progress.Advance(got);
    }
    if (in.bad()) {
        error = "cannot read " + Quoted(source);
        return false;
    }
    if (deflater.Finish(sink) != setupcore::StreamStatus::Ok) {
        error = "cannot compress " + Quoted(source) + " into " + Quoted(target);
        return false;
    }
    out.seekp(0);
    WriteLength(out, static_cast<uint32_t>(total));
    return CloseTarget(out, target, error);
}

// The stronger encoder over the whole file, read first into memory.
bool StoreBest(const fs::path& source, const fs::path& target, ProgressMeter& progress,
               std::string& error) {
    std::ifstream in;
    std::ofstream out;
    if (!OpenBoth(source, target, in, out, error))
        return false;
    std::vector<uint8_t> whole;
    std::vector<char> buffer(setupcore::kStreamChunk);
    size_t got = 0;
    while (ReadChunk(in, buffer, got)) {
        if (whole.size() + got > kMaxCompressedInput) {
            error = Quoted(source) + " grew past 2 GiB - 1 bytes while it was read; a compressed "
                                     "file records its length as an int32";
            return false;
        }
        whole.insert(whole.end(), buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(got));
        progress.Advance(got);
    }
    if (in.bad()) {
        error = "cannot read " + Quoted(source);
        return false;
    }
    std::vector<uint8_t> stream;
    if (!DeflateBest(whole, stream)) {
        error = "cannot compress " + Quoted(source) + " into " + Quoted(target);
        return false;
    }
    WriteLength(out, static_cast<uint32_t>(whole.size()));
    if (!out.write(reinterpret_cast<const char*>(stream.data()),
                   static_cast<std::streamsize>(stream.size()))) {
        error = "cannot write " + Quoted(target);
        return false;
    }
    return CloseTarget(out, target, error);
}

} // namespace

bool StoreCompressed(const fs::path& source, const fs::path& target, bool best,
                     ProgressMeter& progress, std::string& error) {
    return best ? StoreBest(source, target, progress, error)
                : StoreDeflated(source, target, progress, error);
}

} // namespace packsetup
