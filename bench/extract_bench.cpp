// Throughput and peak memory of the copy run (CSetupDat::InstallFiles),
// measured against two baselines on the same packaged data:
//   - CopyFileA of the packaged file: what the disk does without inflating;
//   - a bare zlib loop (ReadFile, inflate, WriteFile in 256 KiB chunks): the
//     fastest reasonable direct use of zlib.
// Part (a) installs one large compressed file, part (b) many small files, half
// of them compressed.
//
// Every measured run happens in a fresh child process (this program started
// again with --run), so each method's peak working set is its own. The parent
// generates the package once into a work directory under %TEMP%, copies the
// packaged files into a fresh source directory before each run (the copy run
// deletes them), and removes the work directory at the end.
//
//   extract_bench [--large-mib N] [--small-count N] [--reps N] [--breakdown]
//
// --breakdown adds part (c): steps of the copy run timed alone on the small
// files, to see where its time goes beyond the bare loop's.
// The report goes to stdout as Markdown tables; progress goes to stderr.

#include "message_box.h"
#include "path_helpers.h"
#include "setup_dat.h"
#include "test_files.h"
#include "unique_handle.h"
#include "zlib_stream.h"

#include <windows.h>

#include <psapi.h>
#include <zlib.h>

#include <algorithm>
#include <cinttypes>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr size_t kChunk = setupcore::kStreamChunk; // the copy run's chunk size
constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kMB = 1000.0 * 1000.0;
constexpr const char* kLargeName = "large.dat";
constexpr const char* kRecordName = "SetupInfo.dat";

// ---------------------------------------------------------------------------
// Small helpers

// Set in the parent: the work directory, removed however the program ends.
std::string g_workDirectory;
// Set in a child: where the parent looks for the child's result.
std::string g_resultPath;

[[noreturn]] void Die(const char* format, ...) {
    char message[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    std::fprintf(stderr, "extract_bench: %s\n", message);
    if (!g_resultPath.empty()) {
        std::ofstream out(g_resultPath, std::ios::trunc);
        out << "failed 0 0 0 0 0\n" << message << '\n';
    }
    if (!g_workDirectory.empty())
        RemoveTree(g_workDirectory);
    std::exit(2);
}

void Progress(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    std::fputs("\n", stderr);
    va_end(args);
    std::fflush(stderr);
}

std::string Join(const std::string& directory, const std::string& name) {
    return directory + "\\" + name;
}

void MakeFreshDirectory(const std::string& path) {
    RemoveTree(path);
    if (!::CreateDirectoryA(path.c_str(), nullptr))
        Die("cannot create directory %s (error %lu)", path.c_str(), ::GetLastError());
}

uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class Stopwatch {
public:
    Stopwatch() {
        ::QueryPerformanceFrequency(&frequency_);
        ::QueryPerformanceCounter(&start_);
    }
    double Seconds() const {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) /
               static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_, start_;
};

SIZE_T PeakWorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters;
    std::memset(&counters, 0, sizeof counters);
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    return counters.PeakWorkingSetSize;
}

// A file written through WriteFile, closed when the object goes.
class OutputFile {
public:
    explicit OutputFile(const std::string& path)
        : path_(path), handle_(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (!handle_)
            Die("cannot create %s (error %lu)", path.c_str(), ::GetLastError());
    }
    void Write(const void* data, size_t size) {
        DWORD written = 0;
        if (!::WriteFile(handle_.get(), data, static_cast<DWORD>(size), &written, nullptr) ||
            written != size)
            Die("cannot write %s (error %lu; is the disk full?)", path_.c_str(), ::GetLastError());
        size_ += size;
    }
    uint64_t Size() const { return size_; }

private:
    std::string path_;
    UniqueFileHandle handle_;
    uint64_t size_ = 0;
};

// ---------------------------------------------------------------------------
// Test data: text-like pseudo-random words that deflate to about 40 %.

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 16);
    }
    uint32_t Below(uint32_t bound) { return Next() % bound; }

private:
    uint64_t state_;
};

class TextGenerator {
public:
    explicit TextGenerator(uint64_t seed) : random_(seed) {
        Random vocabulary(0x5EED1234ABCDull);
        for (size_t i = 0; i < words_.size(); ++i) {
            const uint32_t length = 2 + vocabulary.Below(9);
            for (uint32_t j = 0; j < length; ++j)
                words_[i] += static_cast<char>('a' + vocabulary.Below(26));
        }
    }

    void Fill(char* out, size_t size) {
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

private:
    // A line of 6 to 15 words; common words much more often than rare ones,
    // now and then a number.
    void NextLine() {
        line_.clear();
        next_ = 0;
        const uint32_t count = 6 + random_.Below(10);
        for (uint32_t i = 0; i < count; ++i) {
            if (i)
                line_ += ' ';
            if (random_.Below(8) == 0) {
                const uint32_t digits = 1 + random_.Below(6);
                for (uint32_t j = 0; j < digits; ++j)
                    line_ += static_cast<char>('0' + random_.Below(10));
            } else {
                const uint64_t a = random_.Below(4096), b = random_.Below(4096),
                               c = random_.Below(4096);
                line_ += words_[static_cast<size_t>((a * b * c) >> 24)];
            }
        }
        line_ += random_.Below(4) ? ".\r\n" : ",\r\n";
    }

    Random random_;
    std::vector<std::string> words_ = std::vector<std::string>(4096);
    std::string line_;
    size_t next_ = 0;
};

// The packaged layout of a compressed file: int32 length, then one zlib stream.
void WriteLengthWord(OutputFile& out, uint64_t length) {
    const int32_t declared = static_cast<int32_t>(length);
    out.Write(&declared, sizeof declared); // little-endian on every Windows target
}

// Streams `bytes` of text through the Deflater into `path`; returns the package size.
uint64_t WriteLargePackage(const std::string& path, uint64_t bytes) {
    OutputFile out(path);
    WriteLengthWord(out, bytes);
    TextGenerator text(1);
    setupcore::Deflater deflater;
    const setupcore::ByteSink sink = [&out](const uint8_t* data, size_t size) {
        out.Write(data, size);
        return true;
    };
    std::vector<char> block(1024 * 1024);
    for (uint64_t left = bytes; left;) {
        const size_t size = static_cast<size_t>(std::min<uint64_t>(left, block.size()));
        text.Fill(block.data(), size);
        if (deflater.Feed(reinterpret_cast<const uint8_t*>(block.data()), size, sink) !=
            setupcore::StreamStatus::Ok)
            Die("deflating %s failed", path.c_str());
        left -= size;
        if ((bytes - left) % (64 * 1024 * 1024) == 0)
            Progress("  generated %" PRIu64 " of %" PRIu64 " MiB", (bytes - left) >> 20,
                     bytes >> 20);
    }
    if (deflater.Finish(sink) != setupcore::StreamStatus::Ok)
        Die("deflating %s failed", path.c_str());
    return out.Size();
}

struct SmallFile {
    std::string name;
    bool compressed;
    uint32_t size; // installed (uncompressed) size
};

// The small-file set; the same for every process given the same count.
std::vector<SmallFile> SmallPlan(int count) {
    std::vector<SmallFile> plan;
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

// Writes the packaged small files into `directory`; returns their total size.
uint64_t WriteSmallPackages(const std::string& directory, const std::vector<SmallFile>& plan) {
    TextGenerator text(2);
    std::vector<char> data;
    std::vector<uint8_t> packed;
    const setupcore::ByteSink append = [&packed](const uint8_t* bytes, size_t size) {
        packed.insert(packed.end(), bytes, bytes + size);
        return true;
    };
    uint64_t total = 0;
    for (const SmallFile& file : plan) {
        data.resize(file.size);
        text.Fill(data.data(), data.size());
        OutputFile out(Join(directory, file.name));
        if (file.compressed) {
            packed.clear();
            setupcore::Deflater deflater;
            if (deflater.Feed(reinterpret_cast<const uint8_t*>(data.data()), data.size(), append) !=
                    setupcore::StreamStatus::Ok ||
                deflater.Finish(append) != setupcore::StreamStatus::Ok)
                Die("deflating %s failed", file.name.c_str());
            WriteLengthWord(out, data.size());
            out.Write(packed.data(), packed.size());
        } else {
            out.Write(data.data(), data.size());
        }
        total += out.Size();
    }
    return total;
}

// ---------------------------------------------------------------------------
// The measured methods, each run in a child process

// Answers every box and dialog with Cancel, so a failing copy run ends rather
// than waiting for a user; remembers the first text for the report.
class CancellingUserInterface : public CUserInterface {
public:
    CancellingUserInterface() { SetUserInterface(this); }
    ~CancellingUserInterface() override { SetUserInterface(nullptr); }
    int MessageBox(const std::string& text, UINT) override {
        if (first.empty())
            first = text;
        return IDCANCEL;
    }
    INT_PTR RunModal(CDialog&) override {
        if (first.empty())
            first = "(installation problem dialog)";
        return IDCANCEL;
    }
    std::string first;
};

// The bare loop: ReadFile, inflate, WriteFile, with buffers and zlib state
// reused from file to file.
class BareInflater {
    static void OpenPair(const std::string& sourcePath, const std::string& targetPath,
                         UniqueFileHandle& source, UniqueFileHandle& target) {
        source.reset(::CreateFileA(sourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        target.reset(::CreateFileA(targetPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!source || !target)
            Die("cannot open %s or create %s", sourcePath.c_str(), targetPath.c_str());
    }

public:
    BareInflater() : in_(kChunk), out_(kChunk) {
        if (inflateInit(&z_) != Z_OK)
            Die("inflateInit failed");
    }
    ~BareInflater() { inflateEnd(&z_); }

    // Returns the number of bytes written.
    uint64_t Inflate(const std::string& sourcePath, const std::string& targetPath) {
        UniqueFileHandle source, target;
        OpenPair(sourcePath, targetPath, source, target);
        int32_t declared = 0;
        DWORD got = 0;
        if (!::ReadFile(source.get(), &declared, sizeof declared, &got, nullptr) ||
            got != sizeof declared)
            Die("cannot read %s", sourcePath.c_str());
        inflateReset(&z_);
        uint64_t produced = 0;
        int rc = Z_OK;
        while (rc != Z_STREAM_END) {
            if (!::ReadFile(source.get(), in_.data(), kChunk, &got, nullptr))
                Die("cannot read %s", sourcePath.c_str());
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
                const DWORD made = static_cast<DWORD>(kChunk - z_.avail_out);
                DWORD written = 0;
                if (made && (!::WriteFile(target.get(), out_.data(), made, &written, nullptr) ||
                             written != made))
                    Die("cannot write %s", targetPath.c_str());
                produced += made;
            } while (z_.avail_out == 0 && rc != Z_STREAM_END);
        }
        if (rc != Z_STREAM_END || produced != static_cast<uint64_t>(declared))
            Die("%s ends early or has the wrong length", sourcePath.c_str());
        return produced;
    }

    // A plain packaged file: the same loop without inflating.
    uint64_t Copy(const std::string& sourcePath, const std::string& targetPath) {
        UniqueFileHandle source, target;
        OpenPair(sourcePath, targetPath, source, target);
        uint64_t copied = 0;
        for (;;) {
            DWORD got = 0, written = 0;
            if (!::ReadFile(source.get(), in_.data(), kChunk, &got, nullptr))
                Die("cannot read %s", sourcePath.c_str());
            if (got == 0)
                return copied;
            if (!::WriteFile(target.get(), in_.data(), got, &written, nullptr) || written != got)
                Die("cannot write %s", targetPath.c_str());
            copied += got;
        }
    }

private:
    z_stream z_{};
    std::vector<uint8_t> in_, out_;
};

struct RunResult {
    bool ok = false;
    std::string error;
    double seconds = 0;
    uint64_t bytes = 0; // bytes produced (installed or copied)
    uint64_t files = 0;
    uint64_t peakBefore = 0; // the child's peak working set before the method ran
    uint64_t peakAfter = 0;  // ... and after it
    uint64_t peakSeenByParent = 0;
};

struct Paths {
    explicit Paths(const std::string& work)
        : work(work), packages(Join(work, "packages")), source(Join(work, "source")),
          install(Join(work, "install")), result(Join(work, "result.txt")) {}
    std::string work, packages, source, install, result;
};

void InstallThroughCopyRun(const Paths& paths, const std::vector<SmallFile>& files,
                           RunResult& result) {
    CancellingUserInterface ui;
    CSetupDat dat;
    dat.SetDirectories(paths.source, paths.install);
    for (const SmallFile& file : files)
        dat.AddFileEntry(static_cast<int>(file.name.size()), file.name.c_str(),
                         file.compressed ? 1 : 0);
    Stopwatch watch;
    const int installed = dat.InstallFiles(kRecordName);
    result.seconds = watch.Seconds();
    if (!installed) {
        result.error = "InstallFiles returned 0: " + ui.first;
        return;
    }
    for (const SmallFile& file : files)
        result.bytes += FileSize(Join(paths.install, file.name));
    result.files = files.size();
    result.ok = true;
}

RunResult RunMethod(const std::string& method, const Paths& paths, int smallCount) {
    RunResult result;
    result.peakBefore = PeakWorkingSet(::GetCurrentProcess());
    const std::vector<SmallFile> large = {{kLargeName, true, 0}};
    const std::vector<SmallFile> small = method.find("-small") != std::string::npos
                                             ? SmallPlan(smallCount)
                                             : std::vector<SmallFile>();
    if (method == "idle") {
        result.ok = true;
    } else if (method == "installer-large") {
        InstallThroughCopyRun(paths, large, result);
    } else if (method == "installer-small") {
        InstallThroughCopyRun(paths, small, result);
    } else if (method == "copy-large" || method == "copy-small") {
        const std::vector<SmallFile>& files = method == "copy-large" ? large : small;
        Stopwatch watch;
        for (const SmallFile& file : files) {
            if (!::CopyFileA(Join(paths.source, file.name).c_str(),
                             Join(paths.install, file.name).c_str(), FALSE))
                Die("CopyFileA %s failed (error %lu)", file.name.c_str(), ::GetLastError());
        }
        result.seconds = watch.Seconds();
        for (const SmallFile& file : files)
            result.bytes += FileSize(Join(paths.install, file.name));
        result.files = files.size();
        result.ok = true;
    } else if (method == "bare-large" || method == "bare-small") {
        const std::vector<SmallFile>& files = method == "bare-large" ? large : small;
        Stopwatch watch;
        BareInflater bare;
        for (const SmallFile& file : files) {
            const std::string from = Join(paths.source, file.name);
            const std::string to = Join(paths.install, file.name);
            result.bytes += file.compressed ? bare.Inflate(from, to) : bare.Copy(from, to);
        }
        result.seconds = watch.Seconds();
        result.files = files.size();
        result.ok = true;
    } else if (method == "directories-small") {
        // Step 4 of ExtractFile for every file: the target's directories.
        Stopwatch watch;
        for (const SmallFile& file : small) {
            std::string target = Join(paths.install, file.name);
            ExpandTargetPath(target);
        }
        result.seconds = watch.Seconds();
        result.files = small.size();
        result.ok = true;
    } else if (method == "buffers-small") {
        // ExtractFile's per-file memory: a chunk buffer, and an Inflater for
        // a compressed file.
        Stopwatch watch;
        for (const SmallFile& file : small) {
            std::vector<uint8_t> chunk(kChunk);
            if (file.compressed) {
                setupcore::Inflater inflater(static_cast<int64_t>(file.size));
            }
        }
        result.seconds = watch.Seconds();
        result.files = small.size();
        result.ok = true;
    } else if (method == "cleanup-small") {
        // InstallFiles' last step: deleting the packaged copies.
        Stopwatch watch;
        for (const SmallFile& file : small)
            ::DeleteFileA(Join(paths.source, file.name).c_str());
        result.seconds = watch.Seconds();
        result.files = small.size();
        result.ok = true;
    } else if (method == "record-small") {
        CSetupDat dat;
        dat.SetDirectories(paths.source, paths.install);
        for (const SmallFile& file : small)
            dat.AddInstalledItem(Join(paths.install, file.name));
        Stopwatch watch;
        result.ok = dat.WriteInstallRecord(kRecordName) != 0;
        result.seconds = watch.Seconds();
        result.files = small.size();
        if (!result.ok)
            result.error = "WriteInstallRecord returned 0";
    } else {
        result.error = "unknown method " + method;
    }
    result.peakAfter = PeakWorkingSet(::GetCurrentProcess());
    return result;
}

void WriteResult(const std::string& path, const RunResult& result) {
    std::ofstream out(path, std::ios::trunc);
    out.precision(9);
    out << (result.ok ? "ok" : "failed") << ' ' << result.seconds << ' ' << result.bytes << ' '
        << result.files << ' ' << result.peakBefore << ' ' << result.peakAfter << '\n'
        << result.error << '\n';
}

RunResult ReadResult(const std::string& path) {
    RunResult result;
    std::ifstream in(path);
    std::string status;
    if (!(in >> status >> result.seconds >> result.bytes >> result.files >> result.peakBefore >>
          result.peakAfter)) {
        result.error = "the child left no result";
        return result;
    }
    result.ok = status == "ok";
    in >> std::ws;
    std::getline(in, result.error);
    return result;
}

// ---------------------------------------------------------------------------
// The parent: data, runs and the report

struct Options {
    int largeMib = 512;
    int smallCount = 5000;
    int reps = 3;
    bool breakdown = false;
};

int ParseCount(const char* text, const char* option, int low, int high) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high)
        Die("%s wants a number from %d to %d, not \"%s\"", option, low, high, text);
    return static_cast<int>(value);
}

Options ParseOptions(int argc, char** argv, int first) {
    Options options;
    for (int i = first; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--breakdown") {
            options.breakdown = true;
            continue;
        }
        if (i + 1 >= argc)
            Die("%s needs a value", option.c_str());
        const char* value = argv[++i];
        if (option == "--large-mib")
            options.largeMib = ParseCount(value, "--large-mib", 1, 2047); // int32 length word
        else if (option == "--small-count")
            options.smallCount = ParseCount(value, "--small-count", 1, 99999);
        else if (option == "--reps")
            options.reps = ParseCount(value, "--reps", 1, 99);
        else
            Die("unknown option %s (use --large-mib N, --small-count N, --reps N, --breakdown)",
                option.c_str());
    }
    return options;
}

std::string OwnPath() {
    char path[MAX_PATH * 4];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        Die("cannot find the program's own path");
    return std::string(path, length);
}

class Bench {
public:
    Bench(const Options& options, const Paths& paths)
        : options_(options), paths_(paths), plan_(SmallPlan(options.smallCount)) {}

    void Generate() {
        MakeFreshDirectory(paths_.work);
        MakeFreshDirectory(paths_.packages);
        Progress("generating %d MiB of text into a compressed package...", options_.largeMib);
        Stopwatch watch;
        largeBytes_ = static_cast<uint64_t>(options_.largeMib) << 20;
        largePackage_ = WriteLargePackage(Join(paths_.packages, kLargeName), largeBytes_);
        Progress("  package %.1f MiB (%.1f %%) in %.1f s", largePackage_ / kMiB,
                 100.0 * largePackage_ / largeBytes_, watch.Seconds());
        const std::string small = Join(paths_.packages, "small");
        MakeFreshDirectory(small);
        smallPackages_ = WriteSmallPackages(small, plan_);
        for (const SmallFile& file : plan_) {
            smallBytes_ += file.size;
            smallCompressed_ += file.compressed;
        }
        Progress("generated %d small files (%.1f MiB packaged)", options_.smallCount,
                 smallPackages_ / kMiB);
        generatorPeak_ = PeakWorkingSet(::GetCurrentProcess());
    }

    // Runs `method` in a fresh child process on a fresh copy of the packaged
    // files (the steps of part (c) that do not read them go without).
    RunResult Run(const std::string& method) {
        MakeFreshDirectory(paths_.source);
        MakeFreshDirectory(paths_.install);
        if (method.find("-large") != std::string::npos) {
            CopyOrDie(Join(paths_.packages, kLargeName), Join(paths_.source, kLargeName));
        } else if (method.find("-small") != std::string::npos && method != "directories-small" &&
                   method != "buffers-small" && method != "record-small") {
            const std::string small = Join(paths_.packages, "small");
            for (const SmallFile& file : plan_)
                CopyOrDie(Join(small, file.name), Join(paths_.source, file.name));
        }
        ::DeleteFileA(paths_.result.c_str());

        std::string command = "\"" + OwnPath() + "\" --run " + method + " \"" + paths_.work +
                              "\" --small-count " + std::to_string(options_.smallCount);
        STARTUPINFOA startup;
        std::memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process))
            Die("cannot start %s (error %lu)", command.c_str(), ::GetLastError());
        UniqueKernelHandle child(process.hProcess);
        ::CloseHandle(process.hThread);
        ::WaitForSingleObject(child.get(), INFINITE);
        RunResult result = ReadResult(paths_.result);
        result.peakSeenByParent = PeakWorkingSet(child.get());
        DWORD exitCode = 0;
        ::GetExitCodeProcess(child.get(), &exitCode);
        if (exitCode != 0 && result.error.empty())
            result.error = "the child ended with code " + std::to_string(exitCode);
        if (exitCode != 0)
            result.ok = false;
        RemoveTree(paths_.source);
        RemoveTree(paths_.install);
        if (!result.ok)
            Progress("  %s FAILED: %s", method.c_str(), result.error.c_str());
        else if (result.files)
            Progress("  %-18s %8.3f s  peak working set %.1f MiB (%.1f before the run)",
                     method.c_str(), result.seconds, result.peakAfter / kMiB,
                     result.peakBefore / kMiB);
        return result;
    }

    void Measure() {
        Progress("process start-up only...");
        idle_ = Run("idle");
        const char* const parts[] = {"large", "small"};
        for (const char* part : parts) {
            for (int rep = 0; rep < options_.reps; ++rep) {
                Progress("%s, run %d of %d:", part, rep + 1, options_.reps);
                for (int method = 0; method < kMethods; ++method) {
                    const std::string name = std::string(kMethodNames[method]) + "-" + part;
                    (part[0] == 'l' ? large_ : small_)[method].push_back(Run(name));
                }
                if (part[0] == 's' && options_.breakdown) {
                    for (int step = 0; step < kSteps; ++step)
                        steps_[step].push_back(Run(std::string(kStepNames[step]) + "-small"));
                }
            }
        }
    }

    // Returns false when a run failed.
    bool Report(double totalSeconds) const {
        std::printf("# Extraction benchmark\n\n");
        std::printf("Each method runs %d time%s, each time in a fresh process on a fresh copy of "
                    "the packaged files; the table shows the median time. MB/s is 10^6 bytes "
                    "per second: of installed (uncompressed) bytes for the copy run and the bare "
                    "zlib loop, of bytes copied for CopyFileA. Peak WS is the run's process's "
                    "PeakWorkingSetSize after the run.\n\n",
                    options_.reps, options_.reps == 1 ? "" : "s");
        std::printf("Process start-up alone (no method run): peak WS %.1f MiB.\n",
                    idle_.peakAfter / kMiB);
        std::printf("Generator (this process): peak WS %.1f MiB.\n\n", generatorPeak_ / kMiB);

        std::printf("## (a) One large compressed file\n\n");
        std::printf("%d MiB of text-like data, packaged %.1f MiB (%.1f %% of the data).\n\n",
                    options_.largeMib, largePackage_ / kMiB, 100.0 * largePackage_ / largeBytes_);
        std::printf("| Method | Median s | MB/s | Best MB/s | Peak WS MiB |\n");
        std::printf("|---|---:|---:|---:|---:|\n");
        const Summary largeSummary[kMethods] = {Summarise(large_[0]), Summarise(large_[1]),
                                                Summarise(large_[2])};
        for (int method = 0; method < kMethods; ++method) {
            const Summary& s = largeSummary[method];
            if (!s.ok) {
                std::printf("| %s | failed: %s | | | |\n", kMethodTitles[method], s.error.c_str());
                continue;
            }
            std::printf("| %s | %.3f | %.1f | %.1f | %.1f |\n", kMethodTitles[method],
                        s.medianSeconds, s.bytes / kMB / s.medianSeconds,
                        s.bytes / kMB / s.bestSeconds, s.peak / kMiB);
        }
        bool allRan = largeSummary[0].ok && largeSummary[1].ok && largeSummary[2].ok;
        const Summary& installer = largeSummary[0];
        const Summary& bare = largeSummary[2];
        if (installer.ok && bare.ok) {
            const double ratio = bare.medianSeconds / installer.medianSeconds;
            const bool fastEnough = ratio >= 0.8;
            const bool smallEnough = installer.peak < 32 * kMiB;
            std::printf("\nCopy run / bare zlib loop throughput: %.2f (target >= 0.80): %s\n",
                        ratio, fastEnough ? "met" : "NOT MET");
            std::printf("Copy run peak working set: %.1f MiB (target < 32 MiB): %s\n",
                        installer.peak / kMiB, smallEnough ? "met" : "NOT MET");
        }

        std::printf("\n## (b) %d small files\n\n", options_.smallCount);
        std::printf("1 to 16 KiB each, %d of them compressed; %.1f MiB installed, %.1f MiB "
                    "packaged.\n\n",
                    smallCompressed_, smallBytes_ / kMiB, smallPackages_ / kMiB);
        std::printf("| Method | Median s | files/s | MB/s | Peak WS MiB |\n");
        std::printf("|---|---:|---:|---:|---:|\n");
        for (int method = 0; method < kMethods; ++method) {
            const Summary s = Summarise(small_[method]);
            if (!s.ok) {
                std::printf("| %s | failed: %s | | | |\n", kMethodTitles[method], s.error.c_str());
                allRan = false;
                continue;
            }
            std::printf("| %s | %.3f | %.0f | %.1f | %.1f |\n", kMethodTitles[method],
                        s.medianSeconds, s.files / s.medianSeconds, s.bytes / kMB / s.medianSeconds,
                        s.peak / kMiB);
        }
        if (options_.breakdown)
            allRan = ReportBreakdown() && allRan;
        std::printf("\nWhole run: %.0f s.\n", totalSeconds);
        return allRan;
    }

private:
    bool ReportBreakdown() const {
        std::printf("\n## (c) Steps of the copy run, each timed alone on the %d small files\n\n",
                    options_.smallCount);
        std::printf("| Step | Median s | Per file, us |\n|---|---:|---:|\n");
        double sum = 0;
        for (int step = 0; step < kSteps; ++step) {
            const Summary s = Summarise(steps_[step]);
            if (!s.ok) {
                std::printf("| %s | failed: %s | |\n", kStepTitles[step], s.error.c_str());
                return false;
            }
            sum += s.medianSeconds;
            std::printf("| %s | %.3f | %.0f |\n", kStepTitles[step], s.medianSeconds,
                        1e6 * s.medianSeconds / options_.smallCount);
        }
        const Summary installer = Summarise(small_[0]), bare = Summarise(small_[2]);
        if (installer.ok && bare.ok)
            std::printf("\nSum of the steps: %.3f s; copy run minus bare zlib loop: %.3f s.\n", sum,
                        installer.medianSeconds - bare.medianSeconds);
        return true;
    }

    static constexpr int kSteps = 4;
    static constexpr const char* kStepNames[kSteps] = {"directories", "buffers", "cleanup",
                                                       "record"};
    static constexpr const char* kStepTitles[kSteps] = {
        "Target directories (ExpandTargetPath per file)",
        "Per-file buffers (a 256 KiB chunk, and an Inflater if compressed)",
        "Deleting the packaged copies (DeleteFileA per file)",
        "Install record (WriteInstallRecord, once)"};

    static constexpr int kMethods = 3;
    static constexpr const char* kMethodNames[kMethods] = {"installer", "copy", "bare"};
    static constexpr const char* kMethodTitles[kMethods] = {
        "Copy run (CSetupDat::InstallFiles)", "CopyFileA of the packaged files",
        "Bare zlib loop (ReadFile, inflate, WriteFile)"};

    struct Summary {
        bool ok = false;
        std::string error;
        double medianSeconds = 0, bestSeconds = 0;
        uint64_t bytes = 0, files = 0, peak = 0;
    };

    static Summary Summarise(const std::vector<RunResult>& runs) {
        Summary summary;
        std::vector<double> times;
        for (const RunResult& run : runs) {
            if (!run.ok) {
                summary.error = run.error;
                return summary;
            }
            times.push_back(run.seconds);
            summary.bytes = run.bytes;
            summary.files = run.files;
            summary.peak =
                std::max<uint64_t>(summary.peak, std::max(run.peakAfter, run.peakSeenByParent));
        }
        if (times.empty())
            return summary;
        std::sort(times.begin(), times.end());
        const size_t n = times.size();
        summary.medianSeconds = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
        summary.bestSeconds = times.front();
        summary.ok = true;
        return summary;
    }

    static void CopyOrDie(const std::string& from, const std::string& to) {
        if (!::CopyFileA(from.c_str(), to.c_str(), FALSE))
            Die("cannot copy %s to %s (error %lu)", from.c_str(), to.c_str(), ::GetLastError());
    }

    Options options_;
    Paths paths_;
    std::vector<SmallFile> plan_;
    uint64_t largeBytes_ = 0, largePackage_ = 0;
    uint64_t smallBytes_ = 0, smallPackages_ = 0;
    int smallCompressed_ = 0;
    SIZE_T generatorPeak_ = 0;
    RunResult idle_;
    std::vector<RunResult> large_[kMethods], small_[kMethods], steps_[kSteps];
};

constexpr const char* Bench::kMethodNames[];
constexpr const char* Bench::kMethodTitles[];
constexpr const char* Bench::kStepNames[];
constexpr const char* Bench::kStepTitles[];

std::string NewWorkDirectory() {
    char temp[MAX_PATH];
    const DWORD length = ::GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH)
        Die("no temporary directory");
    std::string path = temp;
    if (path.back() == '\\')
        path.pop_back();
    return Join(path, "extract-bench-" + std::to_string(::GetCurrentProcessId()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--run") {
        const Options options = ParseOptions(argc, argv, 4);
        const Paths paths(argv[3]);
        g_resultPath = paths.result;
        const RunResult result = RunMethod(argv[2], paths, options.smallCount);
        WriteResult(paths.result, result);
        return result.ok ? 0 : 1;
    }
    const Options options = ParseOptions(argc, argv, 1);
    Stopwatch total;
    g_workDirectory = NewWorkDirectory();
    Progress("work directory %s", g_workDirectory.c_str());
    Bench bench(options, Paths(g_workDirectory));
    bench.Generate();
    bench.Measure();
    RemoveTree(g_workDirectory);
    g_workDirectory.clear();
    const bool allRan = bench.Report(total.Seconds());
    std::fflush(stdout);
    return allRan ? 0 : 1;
}
