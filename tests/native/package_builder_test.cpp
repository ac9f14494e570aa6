// The package builder, driven through its library: the setup directories it
// writes are read back with the core's index parser and inflater, and every
// refusal is checked to leave no index behind.
#include "packsetup/command_line.h"
#include "packsetup/manifest.h"
#include "packsetup/package_input.h"
#include "packsetup/package_writer.h"

#include "package_index.h"
#include "zlib_stream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using packsetup::BuildPackage;
using packsetup::PackageEntry;
using packsetup::PackagePlan;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Text that compresses, with enough variation that a broken stream shows.
std::string SampleBytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = (i % 97 < 60) ? static_cast<char>('a' + i % 26) : static_cast<char>(state >> 24);
    }
    return bytes;
}

setupcore::PackageIndex ParseIndex(const fs::path& file) {
    std::string bytes = ReadAll(file);
    auto result =
        setupcore::ParsePackageIndex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_TRUE(result.Ok()) << setupcore::DescribeIndexError(result.error);
    return result.index;
}

std::string InflateWithCore(const std::string& packed) {
    std::string out;
    auto status =
        setupcore::InflatePackaged(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(),
                                   [&out](const uint8_t* data, size_t size) {
                                       out.append(reinterpret_cast<const char*>(data), size);
                                       return true;
                                   });
    EXPECT_EQ(status, setupcore::StreamStatus::Ok);
    return out;
}

// The length word that leads a compressed packaged file.
uint32_t LengthWord(const std::string& packed) {
    uint32_t length = 0;
    for (size_t i = 4; i-- > 0;)
        length = length << 8 | static_cast<uint8_t>(packed.at(i));
    return length;
}

// The way the installer reads it: the length word, then zlib's uncompress.
std::string InflateWithUncompress(const std::string& packed) {
    uint32_t length = LengthWord(packed);
    std::string out(length, '\0');
    uLongf outLength = length;
    int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &outLength,
                        reinterpret_cast<const Bytef*>(packed.data() + 4), packed.size() - 4);
    EXPECT_EQ(rc, Z_OK);
    out.resize(outLength);
    return out;
}

// Each test gets its own directory below the system's temporary directory.
class PackageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<unsigned> counter{0};
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root_ = fs::temp_directory_path() /
                ("packsetup-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        fs::create_directories(root_);
        in_ = root_ / "in";
        out_ = root_ / "out";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    fs::path AddInput(const std::string& relative, const std::string& bytes) {
        fs::path path = in_ / relative;
        WriteAll(path, bytes);
        return path;
    }

    PackageEntry Entry(const std::string& relative, const std::string& name,
                       const std::string& bytes, bool plain = false) {
        return PackageEntry{AddInput(relative, bytes), name, plain};
    }

    PackagePlan BasePlan() {
        PackagePlan plan;
        plan.appExe = "Kestrel.exe";
        plan.folderName = "Kestrel App";
        plan.outDir = out_;
        return plan;
    }

    // A plan with one small file, ready to be spoilt by a refusal test.
    PackagePlan OneFilePlan() {
        PackagePlan plan = BasePlan();
        plan.entries.push_back(Entry("Kestrel.exe", "Kestrel.exe", "program"));
        return plan;
    }

    void ExpectBuilt(const PackagePlan& plan) {
        std::string error;
        ASSERT_TRUE(BuildPackage(plan, error)) << error;
        EXPECT_EQ(error, "");
    }

    // A refused package names the offending item and leaves nothing behind.
    void ExpectRefused(const PackagePlan& plan, const std::string& named) {
        std::string error;
        EXPECT_FALSE(BuildPackage(plan, error));
        EXPECT_NE(error.find(named), std::string::npos) << "message: " << error;
        EXPECT_FALSE(fs::exists(plan.outDir / "Setup.dat"));
    }

    fs::path root_;
    fs::path in_;
    fs::path out_;
};

// What a successful build writes.
class PackageBuilderOutput : public PackageFixture {};

TEST_F(PackageBuilderOutput, WritesAnIndexThatParsesBackToTheSameHeadersObsoleteNamesAndEntries) {
    PackagePlan plan = BasePlan();
    plan.header2 = "second";
    plan.postInstall = "Tools\\Register.exe";
    plan.obsoleteNames = {"old.dll", "Help\\old.hlp"};
    plan.entries.push_back(Entry("Kestrel.exe", "Kestrel.exe", SampleBytes(5000, 1)));
    plan.entries.push_back(Entry("readme.txt", "readme.txt", "read me", true));
    plan.entries.push_back(Entry("x.dll", "bin\\x.dll", SampleBytes(300, 2)));
    ExpectBuilt(plan);

    setupcore::PackageIndex index = ParseIndex(out_ / "Setup.dat");
    EXPECT_EQ(index.leadingWord, 0u);
    EXPECT_EQ(index.appExe, "Kestrel.exe");
    EXPECT_EQ(index.header2, "second");
    EXPECT_EQ(index.folderName, "Kestrel App");
    EXPECT_EQ(index.postInstall, "Tools\\Register.exe");
    EXPECT_EQ(index.obsoleteFiles, (std::vector<std::string>{"old.dll", "Help\\old.hlp"}));
    ASSERT_EQ(index.files.size(), 3u);
    EXPECT_EQ(index.files[0].name, "Kestrel.exe");
    EXPECT_EQ(index.files[0].compressed, 1);
    EXPECT_EQ(index.files[1].name, "readme.txt");
    EXPECT_EQ(index.files[1].compressed, 0);
    EXPECT_EQ(index.files[2].name, "bin\\x.dll");
    EXPECT_EQ(index.files[2].compressed, 1);
}

TEST_F(PackageBuilderOutput, EncodesTheIndexExactlyAsTheCoreLaysItOut) {
    PackagePlan plan = OneFilePlan();
    ExpectBuilt(plan);
    setupcore::PackageIndex expected;
    expected.appExe = plan.appExe;
    expected.folderName = plan.folderName;
    expected.files.push_back({"Kestrel.exe", 1});
    EXPECT_EQ(ReadAll(out_ / "Setup.dat"), setupcore::EncodePackageIndex(expected));
}

TEST_F(PackageBuilderOutput, StoresACompressedFileAsItsLengthAndOneZlibStream) {
    const std::string original = SampleBytes(10000, 3);
    PackagePlan plan = BasePlan();
    plan.entries.push_back(Entry("Kestrel.exe", "Kestrel.exe", original));
    ExpectBuilt(plan);

    std::string packed = ReadAll(out_ / "Kestrel.exe");
    EXPECT_EQ(LengthWord(packed), original.size());
    EXPECT_LT(packed.size(), original.size());
    EXPECT_EQ(InflateWithCore(packed), original);
    EXPECT_EQ(InflateWithUncompress(packed), original);
}

TEST_F(PackageBuilderOutput, CompressesAFileSpanningManyChunksIntact) {
    const std::string original = SampleBytes(3 * 1024 * 1024 + 17, 4);
    PackagePlan plan = BasePlan();
    plan.entries.push_back(Entry("data.bin", "data\\data.bin", original));
    ExpectBuilt(plan);

    std::string packed = ReadAll(out_ / "data.bin");
    EXPECT_EQ(LengthWord(packed), original.size());
    EXPECT_EQ(InflateWithUncompress(packed), original);
}

TEST_F(PackageBuilderOutput, CopiesAPlainFileByteForByte) {
    std::string original = SampleBytes(70000, 5);
    original[10] = '\0';
    PackagePlan plan = BasePlan();
    plan.entries.push_back(Entry("movie.avi", "movie.avi", original, true));
    ExpectBuilt(plan);
    EXPECT_EQ(ReadAll(out_ / "movie.avi"), original);
}

TEST_F(PackageBuilderOutput, StoresASubdirectoryEntryFlatUnderItsFileName) {
    PackagePlan plan = BasePlan();
    plan.entries.push_back(Entry("deep/inside/x.dll", "bin\\plugins\\x.dll", "plugin", true));
    ExpectBuilt(plan);
    EXPECT_EQ(ReadAll(out_ / "x.dll"), "plugin");
    EXPECT_FALSE(fs::exists(out_ / "bin"));
    EXPECT_EQ(ParseIndex(out_ / "Setup.dat").files.at(0).name, "bin\\plugins\\x.dll");
}

TEST_F(PackageBuilderOutput, StoresAnEmptyFilePlain) {
    PackagePlan plan = BasePlan();
    plan.entries.push_back(Entry("empty.cfg", "empty.cfg", ""));
    ExpectBuilt(plan);
    EXPECT_EQ(fs::file_size(out_ / "empty.cfg"), 0u);
    EXPECT_EQ(ParseIndex(out_ / "Setup.dat").files.at(0).compressed, 0);
}

TEST_F(PackageBuilderOutput, CopiesLicenseUrlSetupExeAndZlibUnderTheirFixedNames) {
    PackagePlan plan = OneFilePlan();
    plan.license = AddInput("eula.rtf", "license text");
    plan.url = AddInput("site", "https://example.invalid/");
    plan.setupExe = AddInput("installer.exe", "MZ setup");
    plan.zlib = AddInput("z.dll", "MZ zlib");
    ExpectBuilt(plan);
    EXPECT_EQ(ReadAll(out_ / "License.txt"), "license text");
    EXPECT_EQ(ReadAll(out_ / "URL.txt"), "https://example.invalid/");
    EXPECT_EQ(ReadAll(out_ / "Setup.exe"), "MZ setup");
    EXPECT_EQ(ReadAll(out_ / "zlib1.dll"), "MZ zlib");
}

TEST_F(PackageBuilderOutput, ReplacesTheIndexAndFilesOfAnEarlierBuild) {
    PackagePlan first = OneFilePlan();
    ExpectBuilt(first);
    PackagePlan second = BasePlan();
    second.folderName = "Renamed";
    second.entries.push_back(Entry("v2/Kestrel.exe", "Kestrel.exe", "version two", true));
    ExpectBuilt(second);
    EXPECT_EQ(ParseIndex(out_ / "Setup.dat").folderName, "Renamed");
    EXPECT_EQ(ReadAll(out_ / "Kestrel.exe"), "version two");
}

// Progress lines for large packages.
class PackageBuilderProgress : public PackageFixture {};

TEST_F(PackageBuilderProgress, ReportsRisingPercentagesForAPackageOverTheThreshold) {
    PackagePlan plan = BasePlan();
    plan.entries.push_back(Entry("a.bin", "a.bin", SampleBytes(600000, 6)));
    plan.entries.push_back(Entry("b.bin", "b.bin", SampleBytes(600000, 7), true));
    std::ostringstream report;
    packsetup::ProgressSettings progress;
    progress.out = &report;
    progress.threshold = 1000;
    std::string error;
    ASSERT_TRUE(BuildPackage(plan, error, progress)) << error;

    std::istringstream lines(report.str());
    std::string line;
    int last = 0, count = 0;
    while (std::getline(lines, line)) {
        int percent = std::stoi(line.substr(line.find(": ") + 2));
        EXPECT_GE(percent, last + 5) << line;
        last = percent;
        ++count;
    }
    EXPECT_EQ(last, 100);
    EXPECT_GE(count, 2);
    EXPECT_LE(count, 20);
}

TEST_F(PackageBuilderProgress, StaysQuietForAPackageUnderTheThreshold) {
    std::ostringstream report;
    packsetup::ProgressSettings progress;
    progress.out = &report;
    std::string error;
    ASSERT_TRUE(BuildPackage(OneFilePlan(), error, progress)) << error;
    EXPECT_EQ(report.str(), "");
}

// Packages refused before anything is written.
class PackageBuilderRefusal : public PackageFixture {};

TEST_F(PackageBuilderRefusal, RefusesTwoEntriesWithTheSameFileName) {
    PackagePlan plan = OneFilePlan();
    plan.entries.push_back(Entry("one/x.dll", "bin\\x.dll", "one"));
    plan.entries.push_back(Entry("two/X.DLL", "lib\\X.DLL", "two"));
    ExpectRefused(plan, "\"bin\\x.dll\" and \"lib\\X.DLL\"");
    EXPECT_FALSE(fs::exists(out_));
}

TEST_F(PackageBuilderRefusal, RefusesAPackagedFileStoredUnderAReservedName) {
    for (const char* name :
         {"Setup.dat", "docs\\license.TXT", "URL.txt", "SETUP.EXE", "system\\ZLIB1.dll"}) {
        PackagePlan plan = OneFilePlan();
        plan.entries.push_back(Entry("reserved", name, "x"));
        ExpectRefused(plan, name);
    }
    EXPECT_FALSE(fs::exists(out_));
}

TEST_F(PackageBuilderRefusal, RefusesIndexNamesOver259Bytes) {
    const std::string longest =
        std::string(100, 'd') + "\\" + std::string(100, 'e') + "\\" + std::string(57, 'f');
    ASSERT_EQ(longest.size(), 259u);

    PackagePlan packaged = OneFilePlan();
    packaged.entries.push_back(Entry("long", longest + "g", "x"));
    ExpectRefused(packaged, "260 bytes");

    PackagePlan obsolete = OneFilePlan();
    obsolete.obsoleteNames.push_back(longest + "g");
    ExpectRefused(obsolete, "obsolete name");

    PackagePlan fits = OneFilePlan();
    fits.entries.push_back(Entry("long", longest, "x"));
    fits.obsoleteNames.push_back(longest);
    ExpectBuilt(fits);
}

TEST_F(PackageBuilderRefusal, RefusesHeaderStringsOverTheirLimits) {
    struct Header {
        std::string PackagePlan::*field;
        size_t limit;
        const char* option;
    };
    for (const Header& header : {Header{&PackagePlan::appExe, 255, "--app-exe"},
                                 Header{&PackagePlan::header2, 255, "--header2"},
                                 Header{&PackagePlan::folderName, 259, "--folder-name"},
                                 Header{&PackagePlan::postInstall, 259, "--post-install"}}) {
        PackagePlan tooLong = OneFilePlan();
        tooLong.*header.field = std::string(header.limit + 1, 'h');
        ExpectRefused(tooLong, header.option);

        PackagePlan fits = OneFilePlan();
        fits.*header.field = std::string(header.limit, 'h');
        ExpectBuilt(fits);
        EXPECT_TRUE(fs::remove_all(out_));
    }
}

TEST_F(PackageBuilderRefusal, RefusesAnEmptyMainProgramOrFolderName) {
    PackagePlan noProgram = OneFilePlan();
    noProgram.appExe.clear();
    ExpectRefused(noProgram, "--app-exe");
    PackagePlan noFolder = OneFilePlan();
    noFolder.folderName.clear();
    ExpectRefused(noFolder, "--folder-name");
}

TEST_F(PackageBuilderRefusal, RefusesAnEmptyPackagedName) {
    PackagePlan plan = OneFilePlan();
    plan.entries.push_back(Entry("nameless", "", "x"));
    ExpectRefused(plan, "\"\" is empty");
}

TEST_F(PackageBuilderRefusal, RefusesAPackagedNameEndingInABackslash) {
    PackagePlan plan = OneFilePlan();
    plan.entries.push_back(Entry("folder", "bin\\", "x"));
    ExpectRefused(plan, "\"bin\\\"");
}

TEST_F(PackageBuilderRefusal, RefusesAMissingSourceFile) {
    PackagePlan plan = OneFilePlan();
    plan.entries.push_back(PackageEntry{in_ / "absent.dll", "absent.dll", false});
    ExpectRefused(plan, "absent.dll\" does not exist");
}

TEST_F(PackageBuilderRefusal, RefusesAMissingFixedNameFile) {
    PackagePlan license = OneFilePlan();
    license.license = in_ / "no-license.txt";
    ExpectRefused(license, "no-license.txt");
    PackagePlan zlib = OneFilePlan();
    zlib.zlib = in_ / "no-zlib.dll";
    ExpectRefused(zlib, "no-zlib.dll");
    EXPECT_FALSE(fs::exists(out_));
}

TEST_F(PackageBuilderRefusal, RefusesAFolderAsSourceFile) {
    PackagePlan plan = OneFilePlan();
    fs::create_directories(in_ / "folder.dll");
    plan.entries.push_back(PackageEntry{in_ / "folder.dll", "folder.dll", false});
    ExpectRefused(plan, "not a regular file");
}

TEST_F(PackageBuilderRefusal, RefusesAnEmptyPackage) {
    ExpectRefused(BasePlan(), "no files");
}

TEST_F(PackageBuilderRefusal, RefusesANulByteInAnyString) {
    const std::string withNul("a\0b", 3);
    for (std::string PackagePlan::*header : {&PackagePlan::appExe, &PackagePlan::header2,
                                             &PackagePlan::folderName, &PackagePlan::postInstall}) {
        PackagePlan plan = OneFilePlan();
        plan.*header = withNul;
        ExpectRefused(plan, "\"a<NUL>b\" holds a NUL byte");
    }
    PackagePlan obsolete = OneFilePlan();
    obsolete.obsoleteNames.push_back(withNul);
    ExpectRefused(obsolete, "obsolete name \"a<NUL>b\"");
    PackagePlan packaged = OneFilePlan();
    packaged.entries.push_back(Entry("nul", withNul, "x"));
    ExpectRefused(packaged, "packaged name \"a<NUL>b\"");
}

TEST_F(PackageBuilderRefusal, RefusesACompressedFileOver2GiBMinus1) {
    PackagePlan plan = OneFilePlan();
    fs::path huge = AddInput("huge.bin", "");
    // Sparse: the check reads the size, never the content.
    fs::resize_file(huge, 0x80000000ull);
    plan.entries.push_back(PackageEntry{huge, "huge.bin", false});
    ExpectRefused(plan, "huge.bin\") is 2147483648 bytes");
}

TEST_F(PackageBuilderRefusal, RefusesNamesThatWindowsCannotStoreAlike) {
    for (const char* name : {"bin/x.dll", "a:b.txt", "what?.txt", "trailing.", "con.txt",
                             "caf\xC3\xA9.txt", "tab\there"}) {
        PackagePlan plan = OneFilePlan();
        plan.entries.push_back(Entry("odd", name, "x"));
        std::string error;
        EXPECT_FALSE(BuildPackage(plan, error)) << name;
        EXPECT_NE(error.find("packaged name"), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(out_ / "Setup.dat"));
    }
}

TEST_F(PackageBuilderRefusal, RefusesASourceThatIsTheFileItWouldBeWrittenTo) {
    PackagePlan plan = BasePlan();
    WriteAll(out_ / "Kestrel.exe", "program");
    plan.entries.push_back(PackageEntry{out_ / "Kestrel.exe", "Kestrel.exe", false});
    ExpectRefused(plan, "Kestrel.exe\" is the very file");
    EXPECT_EQ(ReadAll(out_ / "Kestrel.exe"), "program");
}

TEST_F(PackageBuilderRefusal, RefusesAnOutputPathThatIsAFile) {
    PackagePlan plan = OneFilePlan();
    WriteAll(out_, "not a folder");
    std::string error;
    EXPECT_FALSE(BuildPackage(plan, error));
    EXPECT_NE(error.find("is not a directory"), std::string::npos) << error;
}

// A folder as input, through the same path the command line takes.
class FolderInput : public PackageFixture {
protected:
    packsetup::CommandLine Line() {
        packsetup::CommandLine line;
        line.input = in_.string();
        line.outDir = out_.string();
        line.appExe = "Kestrel.exe";
        line.folderName = "Kestrel App";
        return line;
    }
};

TEST_F(FolderInput, ListsEveryRegularFileSortedByPackagedName) {
    AddInput("b.txt", "b");
    AddInput("a/z.dll", "z");
    AddInput("a/b/c.txt", "c");
    AddInput("Kestrel.exe", "k");
    fs::create_directories(in_ / "empty" / "folder");
    packsetup::PackagePlan plan;
    std::string error;
    ASSERT_TRUE(packsetup::AssemblePlan(Line(), plan, error)) << error;
    std::vector<std::string> names;
    for (const PackageEntry& entry : plan.entries)
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Kestrel.exe", "a\\b\\c.txt", "a\\z.dll", "b.txt"}));
    EXPECT_EQ(plan.entries[1].source, in_ / "a" / "b" / "c.txt");
}

TEST_F(FolderInput, BuildsAPackageWithSubfolderFilesStoredFlat) {
    AddInput("Kestrel.exe", SampleBytes(2000, 8));
    AddInput("bin/x.dll", "x library");
    packsetup::CommandLine line = Line();
    line.plainExtensions = {"DLL"};
    line.obsoleteNames = {"old.exe"};
    packsetup::PackagePlan plan;
    std::string error;
    ASSERT_TRUE(packsetup::AssemblePlan(line, plan, error)) << error;
    ExpectBuilt(plan);

    setupcore::PackageIndex index = ParseIndex(out_ / "Setup.dat");
    ASSERT_EQ(index.files.size(), 2u);
    EXPECT_EQ(index.files[0].name, "Kestrel.exe");
    EXPECT_EQ(index.files[0].compressed, 1);
    EXPECT_EQ(index.files[1].name, "bin\\x.dll");
    EXPECT_EQ(index.files[1].compressed, 0);
    EXPECT_EQ(index.obsoleteFiles, std::vector<std::string>{"old.exe"});
    EXPECT_EQ(ReadAll(out_ / "x.dll"), "x library");
    EXPECT_EQ(InflateWithUncompress(ReadAll(out_ / "Kestrel.exe")), SampleBytes(2000, 8));
}

TEST_F(FolderInput, MarksEveryFilePlainWithThePlainOption) {
    AddInput("Kestrel.exe", "k");
    AddInput("data.bin", "d");
    packsetup::CommandLine line = Line();
    line.allPlain = true;
    packsetup::PackagePlan plan;
    std::string error;
    ASSERT_TRUE(packsetup::AssemblePlan(line, plan, error)) << error;
    for (const PackageEntry& entry : plan.entries)
        EXPECT_TRUE(entry.plain) << entry.name;
}

TEST_F(FolderInput, RefusesAMissingFolder) {
    packsetup::PackagePlan plan;
    std::string error;
    EXPECT_FALSE(packsetup::AssemblePlan(Line(), plan, error));
    EXPECT_NE(error.find(in_.string() + "\" does not exist"), std::string::npos) << error;
}

TEST_F(FolderInput, RefusesAnEmptyFolder) {
    fs::create_directories(in_ / "only" / "folders");
    packsetup::PackagePlan plan;
    std::string error;
    ASSERT_TRUE(packsetup::AssemblePlan(Line(), plan, error)) << error;
    ExpectRefused(plan, "no files");
}

TEST_F(FolderInput, RefusesAnOutputDirectoryInsideTheFolder) {
    AddInput("Kestrel.exe", "k");
    packsetup::CommandLine line = Line();
    line.outDir = (in_ / "setup").string();
    packsetup::PackagePlan plan;
    std::string error;
    EXPECT_FALSE(packsetup::AssemblePlan(line, plan, error));
    EXPECT_NE(error.find("lies inside the input folder"), std::string::npos) << error;
}

// A manifest as input.
class ManifestInput : public PackageFixture {
protected:
    bool Parse(const std::string& text, packsetup::ManifestContent& content, std::string& error) {
        return packsetup::ParseManifest(text, "m.txt", in_, content, error);
    }
};

TEST_F(ManifestInput, ReadsFileAndObsoleteLinesInTheirOrder) {
    const std::string text = "\xEF\xBB\xBF# the package\r\n"
                             "file Kestrel.exe Kestrel.exe\r\n"
                             "\r\n"
                             "   # indented comment with a \" quote\n"
                             "file \"docs/Read Me.txt\" \"Docs\\Read Me.txt\" plain\n"
                             "obsolete \"Old Help.hlp\"\n"
                             "file\t/abs/a.dll\tbin\\a.dll\n"
                             "obsolete old.dll";
    packsetup::ManifestContent content;
    std::string error;
    ASSERT_TRUE(Parse(text, content, error)) << error;
    ASSERT_EQ(content.entries.size(), 3u);
    EXPECT_EQ(content.entries[0].source, in_ / "Kestrel.exe");
    EXPECT_EQ(content.entries[0].name, "Kestrel.exe");
    EXPECT_FALSE(content.entries[0].plain);
    EXPECT_EQ(content.entries[1].source, in_ / "docs/Read Me.txt");
    EXPECT_EQ(content.entries[1].name, "Docs\\Read Me.txt");
    EXPECT_TRUE(content.entries[1].plain);
    EXPECT_EQ(content.entries[2].source, fs::path("/abs/a.dll"));
    EXPECT_EQ(content.entries[2].name, "bin\\a.dll");
    EXPECT_EQ(content.obsoleteNames, (std::vector<std::string>{"Old Help.hlp", "old.dll"}));
}

TEST_F(ManifestInput, RefusesAnUnknownDirectiveNamingTheLine) {
    packsetup::ManifestContent content;
    std::string error;
    EXPECT_FALSE(Parse("file a a\nfiel b b\n", content, error));
    EXPECT_NE(error.find("m.txt line 2"), std::string::npos) << error;
    EXPECT_NE(error.find("\"fiel\""), std::string::npos) << error;
}

TEST_F(ManifestInput, RefusesFileLinesWithMissingOrExtraFields) {
    for (const char* line : {"file only-source", "file a b compressed", "file a b plain extra",
                             "obsolete", "obsolete a b"}) {
        packsetup::ManifestContent content;
        std::string error;
        EXPECT_FALSE(Parse(line, content, error)) << line;
        EXPECT_NE(error.find("m.txt line 1: expected"), std::string::npos) << error;
    }
}

TEST_F(ManifestInput, RefusesAnUnclosedQuote) {
    packsetup::ManifestContent content;
    std::string error;
    EXPECT_FALSE(Parse("file \"a b.txt a.txt\n", content, error));
    EXPECT_NE(error.find("line 1: a quoted field has no closing quote"), std::string::npos)
        << error;
}

TEST_F(ManifestInput, BuildsAPackageFromSourcesBesideTheManifest) {
    AddInput("build/Kestrel.exe", SampleBytes(4000, 9));
    AddInput("build/x.dll", "x");
    WriteAll(in_ / "package.txt", "file build/Kestrel.exe Kestrel.exe\n"
                                  "file build/x.dll bin\\x.dll plain\n"
                                  "obsolete stale.dll\n");
    packsetup::CommandLine line;
    line.input = (in_ / "package.txt").string();
    line.outDir = out_.string();
    line.appExe = "Kestrel.exe";
    line.folderName = "Kestrel App";
    line.obsoleteNames = {"first.dll"};
    packsetup::PackagePlan plan;
    std::string error;
    ASSERT_TRUE(packsetup::AssemblePlan(line, plan, error)) << error;
    ExpectBuilt(plan);

    setupcore::PackageIndex index = ParseIndex(out_ / "Setup.dat");
    EXPECT_EQ(index.obsoleteFiles, (std::vector<std::string>{"first.dll", "stale.dll"}));
    ASSERT_EQ(index.files.size(), 2u);
    EXPECT_EQ(index.files[1].name, "bin\\x.dll");
    EXPECT_EQ(index.files[1].compressed, 0);
    EXPECT_EQ(ReadAll(out_ / "x.dll"), "x");
    EXPECT_EQ(InflateWithCore(ReadAll(out_ / "Kestrel.exe")), SampleBytes(4000, 9));
}

TEST_F(ManifestInput, RefusesAManifestListingAMissingFile) {
    WriteAll(in_ / "package.txt", "file gone.exe Kestrel.exe\n");
    packsetup::CommandLine line;
    line.input = (in_ / "package.txt").string();
    line.outDir = out_.string();
    line.appExe = "Kestrel.exe";
    line.folderName = "Kestrel App";
    packsetup::PackagePlan plan;
    std::string error;
    ASSERT_TRUE(packsetup::AssemblePlan(line, plan, error)) << error;
    ExpectRefused(plan, "gone.exe\" does not exist");
}

// Command-line parsing.
packsetup::ParseOutcome ParseArgs(const std::vector<std::string>& args,
                                  packsetup::CommandLine& line, std::string& error) {
    return packsetup::ParseCommandLine(args, line, error);
}

TEST(CommandLineOptions, TakesEveryOption) {
    packsetup::CommandLine line;
    std::string error;
    ASSERT_EQ(ParseArgs({"--out",         "dist",          "--app-exe", "K.exe",
                         "--header2=two", "--folder-name", "Kestrel",   "--post-install",
                         "Reg.exe",       "--obsolete",    "a.dll",     "--obsolete=b.dll",
                         "--plain",       "--plain-ext",   "zip",       "--plain-ext=.CAB",
                         "--license",     "l.txt",         "--url",     "u.txt",
                         "--setup-exe",   "s.exe",         "--zlib",    "z.dll",
                         "--quiet",       "input"},
                        line, error),
              packsetup::ParseOutcome::Run)
        << error;
    EXPECT_EQ(line.outDir, "dist");
    EXPECT_EQ(line.appExe, "K.exe");
    EXPECT_EQ(line.header2, "two");
    EXPECT_EQ(line.folderName, "Kestrel");
    EXPECT_EQ(line.postInstall, "Reg.exe");
    EXPECT_EQ(line.obsoleteNames, (std::vector<std::string>{"a.dll", "b.dll"}));
    EXPECT_TRUE(line.allPlain);
    EXPECT_EQ(line.plainExtensions, (std::vector<std::string>{"zip", ".CAB"}));
    EXPECT_EQ(line.license, "l.txt");
    EXPECT_EQ(line.url, "u.txt");
    EXPECT_EQ(line.setupExe, "s.exe");
    EXPECT_EQ(line.zlib, "z.dll");
    EXPECT_TRUE(line.quiet);
    EXPECT_EQ(line.input, "input");
}

TEST(CommandLineOptions, TakesAnInputThatLooksLikeAnOptionAfterTheEndMarker) {
    packsetup::CommandLine line;
    std::string error;
    ASSERT_EQ(ParseArgs({"--out=o", "--app-exe=a", "--folder-name=f", "--", "--odd"}, line, error),
              packsetup::ParseOutcome::Run);
    EXPECT_EQ(line.input, "--odd");
}

TEST(CommandLineOptions, AsksForHelp) {
    packsetup::CommandLine line;
    std::string error;
    EXPECT_EQ(ParseArgs({"--help"}, line, error), packsetup::ParseOutcome::Help);
    EXPECT_EQ(ParseArgs({"--out", "o", "-h"}, line, error), packsetup::ParseOutcome::Help);
    for (const char* option : {"--out", "--app-exe", "--header2", "--folder-name", "--post-install",
                               "--obsolete", "--plain", "--plain-ext", "--license", "--url",
                               "--setup-exe", "--zlib", "--quiet", "--help"})
        EXPECT_NE(std::string(packsetup::UsageText()).find(option), std::string::npos) << option;
}

TEST(CommandLineOptions, ReportsUsageErrorsNamingTheProblem) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::vector<std::string> base = {"--out", "o", "--app-exe", "a", "--folder-name", "f"};
    auto with = [&base](std::vector<std::string> extra) {
        std::vector<std::string> args = base;
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    for (const Case& c :
         {Case{{"--app-exe", "a", "--folder-name", "f", "in"}, "--out is required"},
          Case{{"--out", "o", "--folder-name", "f", "in"}, "--app-exe is required"},
          Case{{"--out", "o", "--app-exe", "a", "in"}, "--folder-name is required"},
          Case{with({}), "no input"}, Case{with({"in", "more"}), "more than one input"},
          Case{with({"--colour", "in"}), "unknown option --colour"},
          Case{with({"--out", "p", "in"}), "--out is given more than once"},
          Case{with({"--quiet=yes", "in"}), "--quiet takes no value"},
          Case{with({"in", "--license"}), "--license needs a value"}}) {
        packsetup::CommandLine line;
        std::string error;
        EXPECT_EQ(ParseArgs(c.args, line, error), packsetup::ParseOutcome::UsageError);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(PlainExtensions, MatchTheFileNameEndingInAnyLetterCase) {
    EXPECT_TRUE(packsetup::HasPlainExtension("movie.AVI", {"avi"}));
    EXPECT_TRUE(packsetup::HasPlainExtension("a.b.zip", {".ZIP"}));
    EXPECT_FALSE(packsetup::HasPlainExtension("zip", {"zip"}));
    EXPECT_FALSE(packsetup::HasPlainExtension("a.zipx", {"zip"}));
}

} // namespace
