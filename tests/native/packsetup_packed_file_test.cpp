// How a build stores each packaged file's bytes: compressed in the core's
// packaged form (a length word and one zlib stream, which the core's tests
// read back with its inflater and with zlib's uncompress), or plain.
#include "packsetup_test_support.h"

#include "packaged_file.h"

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

} // namespace
