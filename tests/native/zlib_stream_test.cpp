#include "byte_reader.h"
#include "packaged_file.h"
#include "zlib_stream.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace setupcore;

namespace {

std::string Pseudorandom(size_t size) {
    std::string data(size, '\0');
    uint32_t state = 12345;
    for (char& c : data) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>((state >> 16) % 7 + 'a'); // compressible but not trivial
    }
    return data;
}

StreamStatus Unpack(const std::string& packed, std::string& out) {
    out.clear();
    return InflatePackaged(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(),
                           [&out](const uint8_t* data, size_t size) {
                               out.append(reinterpret_cast<const char*>(data), size);
                               return true;
                           });
}

} // namespace

TEST(ZlibStream, RoundTripAcrossManyChunks) {
    std::string data = Pseudorandom(3 * kStreamChunk + 17);
    std::string out;
    EXPECT_EQ(Unpack(PackBytes(data, static_cast<int32_t>(data.size())), out), StreamStatus::Ok);
    EXPECT_EQ(out, data);
}

TEST(ZlibStream, DeflatedStreamIsWhatZlibUncompressReads) {
    std::string data = Pseudorandom(5000);
    std::string packed = PackBytes(data, 5000);
    std::string out(5000, '\0');
    uLongf length = 5000;
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(&out[0]), &length,
                         reinterpret_cast<const Bytef*>(packed.data() + 4), packed.size() - 4),
              Z_OK);
    EXPECT_EQ(out, data);
}

TEST(ZlibStream, EmptyFileRoundTrips) {
    std::string out = "x";
    EXPECT_EQ(Unpack(PackBytes("", 0), out), StreamStatus::Ok);
    EXPECT_EQ(out, "");
}

TEST(ZlibStream, RefusesDamagedTruncatedAndMismatchedStreams) {
    std::string data = Pseudorandom(10000);
    std::string packed = PackBytes(data, 10000);
    std::string out;

    std::string damaged = packed;
    damaged[4] = '\x13'; // no valid zlib header
    EXPECT_EQ(Unpack(damaged, out), StreamStatus::Damaged);
    EXPECT_EQ(Unpack(packed.substr(0, packed.size() - 3), out), StreamStatus::Damaged);
    EXPECT_EQ(Unpack(packed.substr(0, 3), out), StreamStatus::Damaged);
    EXPECT_EQ(Unpack(packed + "tail", out), StreamStatus::TrailingData);
    EXPECT_EQ(Unpack(PackBytes(data, 9999), out), StreamStatus::LengthMismatch);
    EXPECT_EQ(Unpack(PackBytes(data, 10001), out), StreamStatus::LengthMismatch);
    EXPECT_EQ(Unpack(PackBytes(data, -1), out), StreamStatus::LengthMismatch);
}

TEST(ZlibStream, ProducesNoMoreThanTheDeclaredLength) {
    std::string data = Pseudorandom(4 * kStreamChunk);
    std::string out;
    EXPECT_EQ(Unpack(PackBytes(data, 100), out), StreamStatus::LengthMismatch);
    EXPECT_LE(out.size(), kStreamChunk);
}

TEST(ZlibStream, SinkFailureStopsTheStream) {
    std::string packed = PackBytes(Pseudorandom(10000), 10000);
    EXPECT_EQ(InflatePackaged(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(),
                              [](const uint8_t*, size_t) { return false; }),
              StreamStatus::SinkFailed);
}
