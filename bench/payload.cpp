#include "payload.h"

#include "bench_support.h"
#include "file_handle.h"
#include "packaged_file.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace bench {

namespace {

// Text-like pseudo-random data: lines of words from a fixed vocabulary, common
// words far more often than rare ones, now and then a number. It deflates to
// about 40 %, much as an application's own files would. The same seed gives
// the same text in every process.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Below(uint32_t bound) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 16) % bound;
    }

private:
    uint64_t state_;
};

class TextGenerator {
public:
    explicit TextGenerator(uint64_t seed);
    void Fill(char* out, size_t size);

private:
    void NextLine();
    void AppendNumber();
    void AppendWord();

    Random random_;
    std::vector<std::string> words_ = std::vector<std::string>(4096);
    std::string line_;
    size_t next_ = 0;
};

TextGenerator::TextGenerator(uint64_t seed) : random_(seed) {
    // One vocabulary for every seed: only the choice of words differs.
    Random vocabulary(0x5EED1234ABCDull);
    for (std::string& word : words_) {
        const uint32_t length = 2 + vocabulary.Below(9);
        for (uint32_t j = 0; j < length; ++j)
            word += static_cast<char>('a' + vocabulary.Below(26));
    }
}

void TextGenerator::Fill(char* out, size_t size) {
    while (size) {
        if (next_ == line_.size())
            NextLine();
        const size_t take = std::min(size, line_.size() - next_);
        std::memcpy(out, line_.data() + next_, take);
        out += take;
        size -= take;
        next_ += take;
    }
}

// A line of 6 to 15 words.
void TextGenerator::NextLine() {
    line_.clear();
    next_ = 0;
    const uint32_t count = 6 + random_.Below(10);
    for (uint32_t i = 0; i < count; ++i) {
        if (i)
            line_ += ' ';
        if (random_.Below(8) == 0)
            AppendNumber();
        else
            AppendWord();
    }
    line_ += random_.Below(4) ? ".\r\n" : ",\r\n";
}

void TextGenerator::AppendNumber() {
    const uint32_t digits = 1 + random_.Below(6);
    for (uint32_t j = 0; j < digits; ++j)
        line_ += static_cast<char>('0' + random_.Below(10));
}

// The product of three uniform draws, scaled to the vocabulary, makes the
// first words far more common than the last.
void TextGenerator::AppendWord() {
    const uint64_t a = random_.Below(4096), b = random_.Below(4096), c = random_.Below(4096);
    line_ += words_[static_cast<size_t>((a * b * c) >> 24)];
}

constexpr const char* kLargeName = "large.dat";
constexpr uint64_t kGeneratorBlock = 1024 * 1024;
constexpr uint64_t kProgressStep = 64 * 1024 * 1024;

std::vector<PlannedFile> SmallPlan(int count) {
    std::vector<PlannedFile> plan;
    Random random(7);
    for (int i = 0; i < count; ++i) {
        const bool compressed = random.Below(2) == 0;
        const uint32_t size = 1024 + random.Below(15 * 1024 + 1);
        char name[32];
        std::snprintf(name, sizeof name, "f%05d.%s", i, compressed ? "bin" : "txt");
        plan.push_back({name, compressed, size});
    }
    return plan;
}

FileHandle CreateOrDie(const std::string& path) {
    FileHandle file;
    if (!file.Create(path, GENERIC_WRITE, 0))
        Die("cannot create %s (error %lu)", path.c_str(), ::GetLastError());
    return file;
}

void WriteOrDie(FileHandle& file, const void* data, size_t size, const std::string& path) {
    if (!file.Write(data, static_cast<DWORD>(size)))
        Die("cannot write %s (error %lu; is the disk full?)", path.c_str(), ::GetLastError());
}

// Streams `bytes` of text into `path` as one packaged compressed file, never
// whole in memory; returns the package's size.
uint64_t WriteLargePackage(const std::string& path, uint64_t bytes) {
    FileHandle out = CreateOrDie(path);
    uint64_t written = 0;
    setupcore::PackagedFileWriter writer(
        [&](const uint8_t* data, size_t size) {
            WriteOrDie(out, data, size, path);
            written += size;
            return true;
        },
        static_cast<int32_t>(bytes));
    TextGenerator text(1);
    std::vector<char> block(kGeneratorBlock);
    for (uint64_t left = bytes; left;) {
        const size_t size = static_cast<size_t>(std::min<uint64_t>(left, block.size()));
        text.Fill(block.data(), size);
        if (writer.Feed(reinterpret_cast<const uint8_t*>(block.data()), size) !=
            setupcore::StreamStatus::Ok)
            Die("deflating %s failed", path.c_str());
        left -= size;
        if ((bytes - left) % kProgressStep == 0)
            Progress("  generated %" PRIu64 " of %" PRIu64 " MiB", (bytes - left) >> 20,
                     bytes >> 20);
    }
    if (writer.Finish() != setupcore::StreamStatus::Ok)
        Die("deflating %s failed", path.c_str());
    return written;
}

// Writes the small files, packaged, into `directory`; returns their total size.
uint64_t WriteSmallPackages(const std::string& directory, const std::vector<PlannedFile>& plan) {
    TextGenerator text(2);
    std::string data;
    uint64_t total = 0;
    for (const PlannedFile& file : plan) {
        data.resize(file.size);
        text.Fill(&data[0], data.size());
        const std::string packaged = file.compressed ? setupcore::PackBytes(data) : data;
        const std::string path = AppendPath(directory, file.name);
        FileHandle out = CreateOrDie(path);
        WriteOrDie(out, packaged.data(), packaged.size(), path);
        total += packaged.size();
    }
    return total;
}

void GenerateLarge(const Options& options, const WorkPaths& paths, PayloadFacts& facts) {
    Progress("generating %d MiB of text into a compressed package...", options.largeMib);
    const Stopwatch watch;
    const PlannedFile large = FilesOf(FileSet::Large, options).front();
    facts.largeBytes = large.size;
    facts.largePackage = WriteLargePackage(
        AppendPath(PackageDirectory(paths, FileSet::Large), large.name), facts.largeBytes);
    Progress("  package %.1f MiB (%.1f %%) in %.1f s", facts.largePackage / kMiB,
             100.0 * facts.largePackage / facts.largeBytes, watch.Seconds());
}

void GenerateSmall(const Options& options, const WorkPaths& paths, PayloadFacts& facts) {
    const std::vector<PlannedFile> small = FilesOf(FileSet::Small, options);
    const std::string directory = PackageDirectory(paths, FileSet::Small);
    MakeFreshDirectory(directory);
    facts.smallPackages = WriteSmallPackages(directory, small);
    for (const PlannedFile& file : small) {
        facts.smallBytes += file.size;
        facts.smallCompressed += file.compressed;
    }
    Progress("generated %d small files (%.1f MiB packaged)", options.smallCount,
             facts.smallPackages / kMiB);
}

} // namespace

std::vector<PlannedFile> FilesOf(FileSet set, const Options& options) {
    switch (set) {
    case FileSet::Large:
        return {{kLargeName, true, static_cast<uint32_t>(options.largeMib) << 20}};
    case FileSet::Small:
        return SmallPlan(options.smallCount);
    case FileSet::None:
        break;
    }
    return {};
}

std::string PackageDirectory(const WorkPaths& paths, FileSet set) {
    return set == FileSet::Small ? AppendPath(paths.packages, "small") : paths.packages;
}

PayloadFacts GeneratePayload(const Options& options, const WorkPaths& paths) {
    PayloadFacts facts;
    MakeFreshDirectory(paths.packages);
    GenerateLarge(options, paths, facts);
    GenerateSmall(options, paths, facts);
    return facts;
}

} // namespace bench
