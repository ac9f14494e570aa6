#include "payload.h"

#include "bench_support.h"
#include "file_handle.h"
#include "packaged_file.h"
#include "text_generator.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace bench {

namespace {

constexpr int kFilesPerFolder = 100;
constexpr uint64_t kGeneratorBlock = 1024 * 1024;
constexpr uint64_t kProgressStep = 64 * 1024 * 1024;

// `count` files of 1 KiB to `maxKib` KiB, about half of them compressed (the
// extension tells which). With `perFolder`, each run of that many files lies
// in a folder of its own; the packaged names stay unique without the folder.
std::vector<PlannedFile> PlanFiles(int count, uint32_t maxKib, uint64_t seed, const char* prefix,
                                   int perFolder) {
    std::vector<PlannedFile> plan;
    Random random(seed);
    for (int i = 0; i < count; ++i) {
        const bool compressed = random.Below(2) == 0;
        const uint32_t size = 1024 + random.Below((maxKib - 1) * 1024 + 1);
        char package[32], folder[16] = "";
        std::snprintf(package, sizeof package, "%s%05d.%s", prefix, i, compressed ? "bin" : "txt");
        if (perFolder)
            std::snprintf(folder, sizeof folder, "d%03d\\", i / perFolder);
        plan.push_back({std::string(folder) + package, compressed, size, package});
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

// The installed copy of the large file, for the peers; nothing without a directory.
class RawWriter {
public:
    explicit RawWriter(const std::string& path) : path_(path) {
        if (!path_.empty())
            file_ = CreateOrDie(path_);
    }
    void Write(const void* data, size_t size) {
        if (!path_.empty())
            WriteOrDie(file_, data, size, path_);
    }

private:
    std::string path_;
    FileHandle file_;
};

// Creates the directories of `path` unless they are those of the file before.
void MakeDirectoryOf(const std::string& path, std::string& lastDirectory) {
    const std::string directory = ExtractDirectory(path);
    if (directory == lastDirectory)
        return;
    if (!CreateDirectoryTree(directory))
        Die("cannot create directory %s", directory.c_str());
    lastDirectory = directory;
}

void WriteWhole(const std::string& path, const std::string& data) {
    FileHandle out = CreateOrDie(path);
    WriteOrDie(out, data.data(), data.size(), path);
}

// Streams `bytes` of text into `path` as one packaged compressed file, never
// whole in memory, and into `raw` as installed; returns the package's size.
uint64_t WriteLargePackage(const std::string& path, uint64_t bytes, RawWriter& raw, unsigned seed) {
    FileHandle out = CreateOrDie(path);
    uint64_t written = 0;
    setupcore::PackagedFileWriter writer(
        [&](const uint8_t* data, size_t size) {
            WriteOrDie(out, data, size, path);
            written += size;
            return true;
        },
        static_cast<int32_t>(bytes));
    TextGenerator text(seed);
    std::vector<char> block(kGeneratorBlock);
    for (uint64_t left = bytes; left;) {
        const size_t size = static_cast<size_t>(std::min<uint64_t>(left, block.size()));
        text.Fill(block.data(), size);
        raw.Write(block.data(), size);
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

void GenerateLarge(const Options& options, const WorkPaths& paths, const std::string& raw,
                   SetFacts& facts) {
    Progress("generating %d x %d MiB of text into compressed packages...", options.largeFiles,
             options.largeMib);
    const Stopwatch watch;
    if (!raw.empty())
        MakeFreshDirectory(raw);
    unsigned seed = 1;
    for (const PlannedFile& large : FilesOf(FileSet::Large, options)) {
        RawWriter rawCopy(raw.empty() ? raw : AppendPath(raw, large.name));
        facts.bytes += large.size;
        facts.packaged +=
            WriteLargePackage(AppendPath(PackageDirectory(paths, FileSet::Large), large.package),
                              large.size, rawCopy, seed++);
        facts.files += 1;
        facts.compressed += 1;
    }
    Progress("  package %.1f MiB (%.1f %%) in %.1f s", facts.packaged / kMiB,
             100.0 * facts.packaged / facts.bytes, watch.Seconds());
}

// Writes a set of small files, packaged, into its package directory, and as
// installed below `raw` when that is given.
void GenerateFiles(FileSet set, const Options& options, const WorkPaths& paths,
                   const std::string& raw, SetFacts& facts) {
    const std::string directory = PackageDirectory(paths, set);
    MakeFreshDirectory(directory);
    TextGenerator text(set == FileSet::Small ? 2 : 3);
    std::string data, lastRawDirectory;
    for (const PlannedFile& file : FilesOf(set, options)) {
        data.resize(file.size);
        text.Fill(&data[0], data.size());
        const std::string packaged = file.compressed ? setupcore::PackBytes(data) : data;
        WriteWhole(AppendPath(directory, file.package), packaged);
        if (!raw.empty()) {
            const std::string path = AppendPath(raw, file.name);
            MakeDirectoryOf(path, lastRawDirectory);
            WriteWhole(path, data);
        }
        facts.bytes += file.size;
        facts.packaged += packaged.size();
        facts.files += 1;
        facts.compressed += file.compressed;
    }
    Progress("generated %d %s files (%.1f MiB packaged)", facts.files, SetName(set),
             facts.packaged / kMiB);
}

} // namespace

std::vector<PlannedFile> FilesOf(FileSet set, const Options& options) {
    switch (set) {
    case FileSet::Large: {
        // Files of their own text, so that one does not repeat the other.
        std::vector<PlannedFile> files;
        for (int i = 1; i <= options.largeFiles; ++i) {
            const std::string name = "large" + std::to_string(i) + ".dat";
            files.push_back({name, true, static_cast<uint32_t>(options.largeMib) << 20, name});
        }
        return files;
    }
    case FileSet::Small:
        return PlanFiles(options.smallCount, 16, 7, "f", 0);
    case FileSet::Folders:
        return PlanFiles(options.folderCount, 64, 11, "g", kFilesPerFolder);
    case FileSet::None:
        break;
    }
    return {};
}

const char* SetName(FileSet set) {
    switch (set) {
    case FileSet::Large:
        return "large";
    case FileSet::Small:
        return "small";
    case FileSet::Folders:
        return "folders";
    case FileSet::None:
        break;
    }
    return "empty";
}

std::string PackageDirectory(const WorkPaths& paths, FileSet set) {
    return set == FileSet::Large ? paths.packages : AppendPath(paths.packages, SetName(set));
}

std::string RawDirectory(const WorkPaths& paths, FileSet set) {
    return AppendPath(paths.raw, SetName(set));
}

PayloadFacts GeneratePayload(const Options& options, const WorkPaths& paths, bool raw) {
    PayloadFacts facts;
    MakeFreshDirectory(paths.packages);
    if (raw)
        MakeFreshDirectory(paths.raw);
    const auto rawOf = [&](FileSet set) { return raw ? RawDirectory(paths, set) : std::string(); };
    GenerateLarge(options, paths, rawOf(FileSet::Large),
                  facts.sets[static_cast<int>(FileSet::Large)]);
    for (const FileSet set : {FileSet::Small, FileSet::Folders})
        GenerateFiles(set, options, paths, rawOf(set), facts.sets[static_cast<int>(set)]);
    return facts;
}

} // namespace bench
