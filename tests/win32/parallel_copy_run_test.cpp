// The copy run with several files in the works at once: the first problem in
// package order is the one told, a prompt comes with nothing else running,
// every worker has stopped before the run returns, and the record keeps the
// package's order however the workers finish.
#include "install_record_format.h"
#include "packaged_file.h"
#include "path_helpers.h"
#include "resource.h"
#include "engine_test_support.h"
#include "test_support.h"
#include "unique_handle.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

namespace {

std::string Text(size_t size, char seed) {
    std::string text(size, seed);
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(seed + (i * 7 + i / 1000) % 23);
    return text;
}

HANDLE HoldExclusively(const std::string& path) {
    return ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0,
                         nullptr);
}

// The threads of this process: a worker left running shows here.
size_t ThreadCount() {
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    size_t count = 0;
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more;
         more = ::Thread32Next(snapshot.get(), &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId())
            ++count;
    return count;
}

std::string Name(size_t i) {
    return "d" + std::to_string(i / 25) + "\\f" + std::to_string(i) + ".bin";
}

// Set while a prompt is shown: the files after the one asked about that exist.
std::vector<std::string> g_laterFiles;
std::vector<std::string> g_laterThanPrompt;
HANDLE g_held = INVALID_HANDLE_VALUE;

void NoteLaterFilesAndRelease(UINT) {
    for (const std::string& path : g_laterFiles)
        if (FileExists(path))
            g_laterThanPrompt.push_back(path);
    ::CloseHandle(g_held);
    g_held = INVALID_HANDLE_VALUE;
}

void NoteLaterFiles(UINT) {
    for (const std::string& path : g_laterFiles)
        if (FileExists(path))
            g_laterThanPrompt.push_back(path);
}

} // namespace

class ParallelCopyRunTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    TempDir source, install;
    TestInstallation dat;
    std::vector<std::string> contents;
    void SetUp() override { dat.SetDirectories(source.Path(), install.Path()); }

    // Packages `count` files in folders of 25, large ones first so that later
    // files finish before earlier ones; `stored` replaces a file's package.
    void PackageMany(size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const size_t size = i < 4 ? 900 * 1024 : 1000 + (i * 37) % 9000;
            contents.push_back(Text(size, static_cast<char>('a' + i % 20)));
            Package(i, setupcore::PackBytes(contents.back()), 1);
        }
    }
    void Package(size_t i, const std::string& stored, int compressed) {
        const std::string name = Name(i);
        WriteFileBytes(source / ExtractFileName(name, true), stored);
        dat.AddFileEntry(name, compressed != 0);
    }
    void Replace(size_t i, const std::string& stored) {
        WriteFileBytes(source / ExtractFileName(Name(i), true), stored);
    }
    std::vector<std::string> Targets(size_t from, size_t to) const {
        std::vector<std::string> targets;
        for (size_t i = from; i < to; ++i)
            targets.push_back(install / Name(i));
        return targets;
    }
    // Whatever the run made, in the order it lists it: folders, then their files.
    std::vector<std::string> MadeInOrder(size_t count) const {
        std::vector<std::string> made;
        for (size_t i = 0; i < count; ++i) {
            if (i % 25 == 0)
                made.push_back(install / ("d" + std::to_string(i / 25)));
            made.push_back(install / Name(i));
        }
        return made;
    }
    bool InstallDirectoryEmpty() const {
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((install / "*").c_str(), &found);
        bool empty = true;
        if (search != INVALID_HANDLE_VALUE) {
            do
                empty = empty && (std::string(found.cFileName) == "." ||
                                  std::string(found.cFileName) == "..");
            while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        return empty;
    }
};

TEST_F(ParallelCopyRunTest, RecordAndMadeListKeepThePackageOrder) {
    PackageMany(300);
    ASSERT_EQ(dat.RunCopy(), 1);
    EXPECT_TRUE(ui.boxes.empty());
    for (size_t i = 0; i < contents.size(); ++i)
        ASSERT_EQ(ReadFileBytes(install / Name(i)), contents[i]) << Name(i);
    EXPECT_EQ(ReadFileBytes(install / "SetupInfo.dat"),
              setupcore::EncodeInstallRecord({install.Path(), "", Targets(0, 300)}));
    EXPECT_EQ(dat.Transaction().createdPaths, MadeInOrder(300));
}

TEST_F(ParallelCopyRunTest, DamagedFilesAmongManyTellTheFirstAndLeaveNothingRunning) {
    PackageMany(200);
    // The earlier file is found damaged only by its checksum, at its very
    // end; the later one at its start, long before.
    std::string lateFound = setupcore::PackBytes(contents[2]);
    lateFound.back() ^= 0x01;
    Replace(2, lateFound);
    std::string earlyFound = setupcore::PackBytes(contents[120]);
    earlyFound[8] ^= 0x55;
    Replace(120, earlyFound);
    const size_t threadsBefore = ThreadCount();

    EXPECT_EQ(dat.RunCopy(), 0);
    EXPECT_EQ(ThreadCount(), threadsBefore) << "a worker still runs";
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_FILE_INVALID, source / "f2.bin"));
    EXPECT_EQ(ReadFileBytes(install / Name(2)), "");
    for (const std::string& later : Targets(3, 200))
        ASSERT_FALSE(FileExists(later)) << later;
    EXPECT_EQ(dat.Transaction().createdPaths, MadeInOrder(3));
    dat.Undo();
    EXPECT_TRUE(InstallDirectoryEmpty());
}

TEST_F(ParallelCopyRunTest, FileInUseAsksOnceWithNothingLaterMadeThenGoesOn) {
    PackageMany(100);
    const std::string busy = install / "lib.dll";
    dat.AddFileEntry("lib.dll", false);
    WriteFileBytes(source / "lib.dll", "new library");
    for (size_t i = 100; i < 160; ++i) {
        contents.push_back(Text(300 * 1024, 'k'));
        Package(i, setupcore::PackBytes(contents.back()), 1);
    }
    g_held = HoldExclusively(busy);
    g_laterFiles = Targets(100, 160);
    g_laterThanPrompt.clear();
    ui.onDialog = NoteLaterFilesAndRelease;

    EXPECT_EQ(dat.RunCopy(), 1);
    EXPECT_EQ(ui.dialogs, std::vector<UINT>{IDD_INSTALL_PROBLEM});
    EXPECT_TRUE(g_laterThanPrompt.empty()) << g_laterThanPrompt.front();
    EXPECT_EQ(ReadFileBytes(busy), "new library");
    for (size_t i = 0; i < 160; ++i)
        ASSERT_EQ(ReadFileBytes(install / Name(i)), contents[i]) << Name(i);
}

TEST_F(ParallelCopyRunTest, CancelWhileOthersWereInTheWorksUndoesEverything) {
    for (size_t i = 0; i < 3; ++i) {
        contents.push_back(Text(2 * 1024 * 1024, 'c'));
        Package(i, setupcore::PackBytes(contents.back()), 1);
    }
    dat.AddFileEntry("lib.dll", false);
    WriteFileBytes(source / "lib.dll", "new library");
    for (size_t i = 3; i < 40; ++i)
        Package(i, setupcore::PackBytes(Text(3 * 1024 * 1024, 'x')), 1);
    WriteFileBytes(install / "lib.dll", "old library");
    g_held = ::CreateFileA((install / "lib.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    g_laterFiles = Targets(3, 40);
    g_laterThanPrompt.clear();
    ui.onDialog = NoteLaterFiles;
    ui.answers = {IDCANCEL};
    const size_t threadsBefore = ThreadCount();

    EXPECT_EQ(dat.RunCopy(), 0);
    ::CloseHandle(g_held);
    EXPECT_EQ(ThreadCount(), threadsBefore) << "a worker still runs";
    EXPECT_EQ(ui.dialogs, std::vector<UINT>{IDD_INSTALL_PROBLEM});
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(g_laterThanPrompt.empty()) << g_laterThanPrompt.front();
    for (const std::string& later : Targets(3, 40))
        ASSERT_FALSE(FileExists(later)) << later;
    EXPECT_FALSE(FileExists(install / "SetupInfo.dat"));
    dat.Undo();
    EXPECT_EQ(ReadFileBytes(install / "lib.dll"), "old library");
    EXPECT_FALSE(FileExists(install / Name(0)));
    EXPECT_FALSE(DirectoryExists(install / "d0"));
}
