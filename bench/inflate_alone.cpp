#include "inflate_alone.h"

#include "bench_support.h"
#include "file_handle.h"
#include "zlib_stream.h"

#include <cstring>
#include <thread>

namespace bench {
namespace {

struct Inflated {
    uint64_t bytes = 0;
    bool ok = false;
};

std::string ReadWhole(const std::string& path) {
    FileHandle file;
    uint64_t size = 0;
    if (!file.Open(path, GENERIC_READ, FILE_SHARE_READ) || !file.Size(size))
        return "";
    std::string bytes(static_cast<size_t>(size), '\0');
    DWORD got = 0;
    for (size_t at = 0; at < bytes.size(); at += got)
        if (!file.Read(&bytes[at], static_cast<DWORD>(bytes.size() - at), got) || got == 0)
            return "";
    return bytes;
}

void InflateOne(const std::string& packed, Inflated& out) {
    if (packed.size() < 4)
        return;
    int32_t declared = 0;
    std::memcpy(&declared, packed.data(), sizeof declared);
    setupcore::Inflater inflater(declared);
    std::vector<uint8_t> buffer(setupcore::kStreamChunk);
    const uint8_t* at = reinterpret_cast<const uint8_t*>(packed.data()) + 4;
    size_t left = packed.size() - 4;
    for (;;) {
        size_t made = 0;
        const setupcore::StreamStatus status =
            inflater.Inflate(at, left, buffer.data(), buffer.size(), made);
        out.bytes += made;
        if (status != setupcore::StreamStatus::NeedMore || (left == 0 && made == 0))
            break;
    }
    out.ok = inflater.Finish() == setupcore::StreamStatus::Ok;
}

} // namespace

InflateAloneResult InflateAlone(const std::vector<std::string>& packaged, bool threadPerFile) {
    InflateAloneResult result;
    std::vector<std::string> packs;
    for (const std::string& path : packaged)
        packs.push_back(ReadWhole(path));
    std::vector<Inflated> inflated(packs.size());
    const Stopwatch watch;
    if (threadPerFile) {
        std::vector<std::thread> threads;
        for (size_t i = 0; i < packs.size(); ++i)
            threads.emplace_back(InflateOne, std::cref(packs[i]), std::ref(inflated[i]));
        for (std::thread& thread : threads)
            thread.join();
    } else {
        for (size_t i = 0; i < packs.size(); ++i)
            InflateOne(packs[i], inflated[i]);
    }
    result.seconds = watch.Seconds();
    for (const Inflated& one : inflated) {
        result.bytes += one.bytes;
        if (!one.ok)
            result.error = "a packaged file did not inflate whole";
    }
    return result;
}

} // namespace bench
