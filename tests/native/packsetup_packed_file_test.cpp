// How a build stores each packaged file's bytes: compressed in the core's
// packaged form (a length word and one zlib stream, which the core's tests
// read back with its inflater and with zlib's uncompress), or plain.
#include "packsetup_test_support.h"

#include "packaged_file.h"
#include "packsetup/best_deflate.h"

#include <zlib.h>

#include <cstring>

using namespace packsetup;
using namespace packsetup_test;

namespace {

class PackedFile : public PackageFixture {};

TEST_F(PackedFile, StoresEachFileCompressedOrPlainAsThePlanSays) {
    const std::string small = SampleBytes(10000, 3);
    const std::string manyChunks = SampleBytes(3 * 1024 * 1024 + 17, 4);
    std::string plain = SampleBytes(70000, 5);
    plain[10] = '\0';
    PackagePlan plan = BasePlan();
    plan.entries = {
        Entry("Kestrel.exe", "Kestrel.exe", small), Entry("data.bin", "data\\data.bin", manyChunks),
        Entry("movie.avi", "movie.avi", plain, true), Entry("empty.cfg", "empty.cfg", "")};
    ASSERT_TRUE(Built(plan));

    // EXPECT_TRUE: a failure would print megabytes.
    EXPECT_TRUE(ReadAll(out_ / "Kestrel.exe") == setupcore::PackBytes(small));
    EXPECT_TRUE(ReadAll(out_ / "data.bin") == setupcore::PackBytes(manyChunks));
    EXPECT_TRUE(ReadAll(out_ / "movie.avi") == plain);
    EXPECT_EQ(fs::file_size(out_ / "empty.cfg"), 0u);
}

// Prose-like text, which the stronger encoder finds more to take out of.
std::string Prose(size_t size) {
    static const char* const kWords[] = {"kestrel ", "notes ", "the ", "window ",       "file ",
                                         "install ", "of ",    "a ",   "directory\r\n", "setup "};
    std::string text;
    for (uint32_t state = 7; text.size() < size;) {
        state = state * 1103515245u + 12345u;
        text += kWords[(state >> 16) % 10];
    }
    text.resize(size);
    return text;
}

// What zlib itself makes of a packaged compressed file: the bytes, or "" when
// its stream is no zlib stream of the declared length.
std::string ZlibUncompressed(const std::string& packed) {
    uint32_t declared = 0;
    std::memcpy(&declared, packed.data(), sizeof declared);
    std::string bytes(declared, '\0');
    uLongf length = declared;
    const int status = uncompress(reinterpret_cast<Bytef*>(&bytes[0]), &length,
                                  reinterpret_cast<const Bytef*>(packed.data() + 4),
                                  static_cast<uLong>(packed.size() - 4));
    return status == Z_OK && length == declared ? bytes : std::string();
}

TEST_F(PackedFile, BestStoresZlibStreamsThatInflateToTheSameBytesAndAreSmaller) {
    if (!HaveBestEncoder())
        GTEST_SKIP() << "this build has no stronger encoder";
    const std::string text = Prose(3 * 1024 * 1024 + 5);
    const std::string noise = SampleBytes(300000, 6);
    PackagePlan plan = BasePlan();
    plan.best = true;
    plan.entries = {Entry("notes.txt", "notes.txt", text), Entry("noise.bin", "noise.bin", noise)};
    ASSERT_TRUE(Built(plan));

    const std::string packedText = ReadAll(out_ / "notes.txt");
    EXPECT_TRUE(ZlibUncompressed(packedText) == text);
    EXPECT_TRUE(ZlibUncompressed(ReadAll(out_ / "noise.bin")) == noise);
    std::string inflated;
    EXPECT_EQ(setupcore::InflatePackaged(
                  reinterpret_cast<const uint8_t*>(packedText.data()), packedText.size(),
                  [&inflated](const uint8_t* data, size_t size) {
                      inflated.append(reinterpret_cast<const char*>(data), size);
                      return true;
                  }),
              setupcore::StreamStatus::Ok);
    EXPECT_TRUE(inflated == text);
    EXPECT_LT(packedText.size(), setupcore::PackBytes(text).size());
}

} // namespace
