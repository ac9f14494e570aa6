#include "package_reader.h"

PackageReader::PackageReader(std::vector<PackagedSource> sources)
    : sources_(std::move(sources)), done_(sources_.empty()), input_(setupcore::kStreamChunk) {}

bool PackageReader::Fill(Chunk& chunk) {
    chunk.used = 0;
    chunk.pieces.clear();
    // Each step adds at most one piece.
    while (!done_ && chunk.used < chunk.bytes.size() && chunk.pieces.size() < Chunk::kMaxPieces)
        Step(chunk);
    return !done_;
}

void PackageReader::Step(Chunk& chunk) {
    if (!open_)
        Open(chunk);
    else if (sources_[current_].compressed)
        InflateSome(chunk);
    else
        CopySome(chunk);
}

void PackageReader::Open(Chunk& chunk) {
    const PackagedSource& source = sources_[current_];
    read_ = 0;
    if (!file_.Open(source.path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE))
        return End(chunk, SourceStatus::NotOpened);
    open_ = true;
    if (!source.compressed)
        return;
    int32_t declared = 0;
    DWORD got = 0;
    if (!file_.Read(&declared, sizeof declared, got))
        return End(chunk, SourceStatus::Unreadable);
    read_ = got;
    if (got != sizeof declared)
        return End(chunk, SourceStatus::Invalid);
    inflater_.Reset(declared);
    inputLeft_ = 0;
}

void PackageReader::CopySome(Chunk& chunk) {
    DWORD got = 0;
    if (!file_.Read(chunk.bytes.data() + chunk.used,
                    static_cast<DWORD>(chunk.bytes.size() - chunk.used), got))
        return End(chunk, SourceStatus::Unreadable);
    if (got == 0)
        return End(chunk, SourceStatus::Ok);
    read_ += got;
    Append(chunk, got);
}

void PackageReader::InflateSome(Chunk& chunk) {
    if (inputLeft_ == 0) {
        DWORD got = 0;
        if (!file_.Read(input_.data(), static_cast<DWORD>(input_.size()), got))
            return End(chunk, SourceStatus::Unreadable);
        if (got == 0)
            return End(chunk, StatusOf(inflater_.Finish()));
        read_ += got;
        inputAt_ = input_.data();
        inputLeft_ = got;
    }
    size_t made = 0;
    const setupcore::StreamStatus status =
        inflater_.Inflate(inputAt_, inputLeft_, chunk.bytes.data() + chunk.used,
                          chunk.bytes.size() - chunk.used, made);
    if (made)
        Append(chunk, made);
    // A stream that has ended is finished only by the end of the file: bytes
    // after it make it invalid.
    if (status != setupcore::StreamStatus::NeedMore && status != setupcore::StreamStatus::Ok)
        End(chunk, StatusOf(inflater_.Finish()));
}

Piece& PackageReader::CurrentPiece(Chunk& chunk) {
    if (chunk.pieces.empty() || chunk.pieces.back().file != current_) {
        Piece piece;
        piece.file = current_;
        piece.offset = chunk.used;
        chunk.pieces.push_back(piece);
    }
    Piece& piece = chunk.pieces.back();
    piece.packagedBytes = read_;
    return piece;
}

void PackageReader::Append(Chunk& chunk, size_t size) {
    CurrentPiece(chunk).size += size;
    chunk.used += size;
}

void PackageReader::End(Chunk& chunk, SourceStatus status) {
    Piece& piece = CurrentPiece(chunk);
    piece.last = true;
    piece.status = status;
    piece.checksummed = status == SourceStatus::Ok && sources_[current_].compressed;
    if (piece.checksummed)
        piece.adler = inflater_.ExpectedAdler();
    file_ = FileHandle();
    open_ = false;
    done_ = status != SourceStatus::Ok || ++current_ == sources_.size();
}
