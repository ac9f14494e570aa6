// The reading side of the copy run: opens the packaged files one after the
// other and fills chunks with their installed bytes, inflating the compressed
// ones. It touches nothing but the package and reports rather than shows its
// failures, so it may run ahead of the writing on a thread of its own. The
// checksum of a compressed file is left to the writer, whose thread has time
// to spare while this one inflates.
#pragma once

#include "file_handle.h"
#include "zlib_stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PackagedSource {
    std::string path;
    bool compressed = false;
    bool nested = false; // in a folder below the setup directory (packaged_source.h)
};

// How reading one packaged file ended.
enum class SourceStatus { Ok, NotOpened, Unreadable, Invalid, NoMemory };

// How an inflater's end reads as a source's: memory, or damaged.
inline SourceStatus StatusOf(setupcore::StreamStatus stream) {
    switch (stream) {
    case setupcore::StreamStatus::Ok:
        return SourceStatus::Ok;
    case setupcore::StreamStatus::NoMemory:
        return SourceStatus::NoMemory;
    default:
        return SourceStatus::Invalid;
    }
}

// A run of one file's installed bytes within a chunk. Each file read ends in
// a piece marked last; after a file that failed, nothing more is read.
struct Piece {
    size_t file = 0; // index of the source
    size_t offset = 0;
    size_t size = 0;
    bool last = false; // the file ends here: whole when the status is Ok
    SourceStatus status = SourceStatus::Ok;
    uint64_t packagedBytes = 0; // of the packaged file, read so far
    // A compressed file's last piece: the Adler-32 checksum its bytes must
    // have, which the writer checks (see setupcore::Checksum).
    bool checksummed = false;
    uint32_t adler = 0;
};

// A fixed-size block of installed bytes and the pieces it holds; many small
// files share one chunk, a large file spans many.
struct Chunk {
    static constexpr size_t kMaxPieces = 256;
    Chunk() : bytes(setupcore::kStreamChunk) { pieces.reserve(kMaxPieces); }
    std::vector<uint8_t> bytes;
    size_t used = 0;
    std::vector<Piece> pieces;
};

class PackageReader {
public:
    explicit PackageReader(std::vector<PackagedSource> sources);
    // Empties `chunk` and fills it with what follows; false once nothing
    // follows what it holds now.
    bool Fill(Chunk& chunk);

private:
    void Step(Chunk& chunk);
    void Open(Chunk& chunk);
    void CopySome(Chunk& chunk);
    void InflateSome(Chunk& chunk);
    // Adds `size` bytes just placed at the chunk's end to the current file.
    void Append(Chunk& chunk, size_t size);
    // Ends the current file with `status` and moves on, unless it failed.
    void End(Chunk& chunk, SourceStatus status);
    Piece& CurrentPiece(Chunk& chunk);

    std::vector<PackagedSource> sources_;
    size_t current_ = 0;
    bool done_ = false;
    bool open_ = false;
    FileHandle file_;
    uint64_t read_ = 0; // bytes of the current file read
    std::vector<uint8_t> input_;
    const uint8_t* inputAt_ = nullptr;
    size_t inputLeft_ = 0;
    setupcore::Inflater inflater_{0, setupcore::Checksum::ByCaller};
};
