// The copy run on real directories: plain, compressed, subdirectory and
// Windows-directory entries, obsolete files, and every way a file can fail.
#include "byte_reader.h"
#include "install_record_format.h"
#include "packaged_file.h"
#include "path_helpers.h"
#include "resource.h"
#include "engine_test_support.h"
#include "test_support.h"
#include "unique_handle.h"
#include "zlib_stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <thread>

namespace {

std::string Text(size_t size, char seed) {
    std::string text(size, seed);
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(seed + i % 23);
    return text;
}

HANDLE HoldExclusively(const std::string& path) {
    return ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0,
                         nullptr);
}

} // namespace

class CopyRunTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    TempDir source, install;
    TestInstallation dat;
    void SetUp() override { dat.SetDirectories(source.Path(), install.Path()); }

    void Package(const std::string& name, const std::string& stored, int compressed) {
        WriteFileBytes(source / ExtractFileName(name, true), stored);
        dat.AddFileEntry(name, compressed != 0);
    }
    std::string Record() const { return install / "SetupInfo.dat"; }
};

TEST_F(CopyRunTest, InstallsRecordsAndClearsThePackage) {
    const std::string big = Text(700 * 1024, 'a'); // spans several chunks
    Package("App.exe", setupcore::PackBytes(big), 1);
    Package("readme.txt", "plain bytes\r\n", 0);
    Package("bin\\x.dll", setupcore::PackBytes("library"), 1);
    Package("%SystemRoot%\\kestrel_copy_run_test.dll", "sys", 0);
    WriteFileBytes(install / "old.dll", "obsolete");
    dat.package.obsoleteNames = {"old.dll", "never-there.txt"};

    const FileGuard systemFile(WindowsDirectory() + "\\kestrel_copy_run_test.dll");
    const std::string& systemTarget = systemFile.Path();
    ASSERT_EQ(dat.RunCopy(), 1);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(ReadFileBytes(install / "App.exe"), big);
    EXPECT_EQ(ReadFileBytes(install / "readme.txt"), "plain bytes\r\n");
    EXPECT_EQ(ReadFileBytes(install / "bin\\x.dll"), "library");
    EXPECT_EQ(ReadFileBytes(systemTarget), "sys");
    EXPECT_FALSE(FileExists(install / "old.dll"));

    const std::vector<std::string> targets = {install / "App.exe", install / "readme.txt",
                                              install / "bin\\x.dll", systemTarget};
    EXPECT_EQ(ReadFileBytes(Record()),
              setupcore::EncodeInstallRecord({install.Path(), "", targets}));
    ASSERT_EQ(dat.Transaction().RecordSoFar().items.size(), 4u);
    EXPECT_EQ(dat.Transaction().targets[3], systemTarget);
    for (const char* packaged : {"App.exe", "readme.txt", "x.dll", "kestrel_copy_run_test.dll"})
        EXPECT_FALSE(FileExists(source / packaged)) << packaged;
}

TEST_F(CopyRunTest, DamagedStreamNamesTheSourceLeavesNoTargetAndNoRecord) {
    Package("first.txt", "fine", 0);
    std::string damaged = setupcore::PackBytes(Text(5000, 'q'));
    damaged[damaged.size() / 2] ^= 0x55;
    Package("broken.bin", damaged, 1);
    Package("later.txt", "never", 0);

    EXPECT_EQ(dat.RunCopy(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "The file " + source / "broken.bin" + " is invalid.");
    // Never a part of the data under the file's name, nor beside it.
    EXPECT_FALSE(FileExists(install / "broken.bin"));
    EXPECT_FALSE(FileExists(install / "broken.bin.kst-part"));
    EXPECT_FALSE(FileExists(install / "later.txt"));
    EXPECT_FALSE(FileExists(Record()));
    EXPECT_TRUE(FileExists(source / "first.txt")); // the package stays whole
}

TEST_F(CopyRunTest, WrongDeclaredLengthOrTrailingBytesAreInvalid) {
    for (const std::string& stored :
         {setupcore::PackBytes("12345", 4), setupcore::PackBytes("12345", 6),
          setupcore::PackBytes("12345") + "xx", std::string("\5\0", 2)}) {
        SCOPED_TRACE("package of " + std::to_string(stored.size()) + " bytes");
        TestInstallation one;
        one.SetDirectories(source.Path(), install.Path());
        WriteFileBytes(source / "f.bin", stored);
        one.AddFileEntry("f.bin", true);
        EXPECT_EQ(one.RunCopy(), 0);
        EXPECT_EQ(ReadFileBytes(install / "f.bin"), "");
    }
    ASSERT_EQ(ui.boxes.size(), 4u);
    EXPECT_EQ(ui.boxes[3].text, Formatted(IDS_FILE_INVALID, source / "f.bin"));
}

TEST_F(CopyRunTest, MissingSourceIsNamed) {
    dat.AddFileEntry("ghost.txt", false);
    EXPECT_EQ(dat.RunCopy(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "Can not open the file " + source / "ghost.txt" + "\n.Setup can not to continue.");
}

TEST_F(CopyRunTest, UnknownSystemTokenStopsTheRun) {
    Package("%WinDir%\\a.dll", "x", 0);
    EXPECT_EQ(dat.RunCopy(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_NO_SYSTEM_DIR, "WinDir"));
}

TEST_F(CopyRunTest, BusyLibraryAsksToCloseTheProgramUntilCancelled) {
    Package("LIB.DLL", "new", 0);
    HANDLE held = HoldExclusively(install / "LIB.DLL");
    ui.answers = {IDOK, IDOK, IDCANCEL};
    EXPECT_EQ(dat.RunCopy(), 0);
    ::CloseHandle(held);
    EXPECT_EQ(ui.dialogs,
              (std::vector<UINT>{IDD_INSTALL_PROBLEM, IDD_INSTALL_PROBLEM, IDD_INSTALL_PROBLEM}));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(FileExists(Record()));
}

namespace {
HANDLE g_held = INVALID_HANDLE_VALUE;
void ReleaseHeldFile(UINT) {
    ::CloseHandle(g_held);
    g_held = INVALID_HANDLE_VALUE;
}
} // namespace

TEST_F(CopyRunTest, BusyLibraryIsInstalledOnceTheProgramLetsGo) {
    Package("lib.dll", "new", 0);
    g_held = HoldExclusively(install / "lib.dll");
    ui.onDialog = ReleaseHeldFile;
    EXPECT_EQ(dat.RunCopy(), 1);
    EXPECT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ReadFileBytes(install / "lib.dll"), "new");
}

namespace {
std::string g_takenDirectory;
void ReleaseHeldFileAndTakeTheDirectory(UINT templateId) {
    ReleaseHeldFile(templateId);
    RemoveTree(g_takenDirectory);
}
} // namespace

TEST_F(CopyRunTest, DirectoryTakenAwayDuringTheRunIsMadeAgain) {
    Package("sub\\first.txt", "1", 0);
    Package("busy.dll", "2", 0);
    Package("sub\\third.txt", "3", 0);
    g_held = HoldExclusively(install / "busy.dll");
    g_takenDirectory = install / "sub";
    ui.onDialog = ReleaseHeldFileAndTakeTheDirectory;
    ui.answers = {IDOK, IDCANCEL}; // a prompt about third.txt would mean its directory was missed
    EXPECT_EQ(dat.RunCopy(), 1);
    EXPECT_EQ(ui.dialogs.size(), 1u);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(ReadFileBytes(install / "sub\\third.txt"), "3");
    EXPECT_EQ(dat.Transaction().createdPaths,
              (std::vector<std::string>{install / "sub", install / "sub\\first.txt",
                                        install / "sub", install / "sub\\third.txt"}));
}

TEST_F(CopyRunTest, BusyOtherFileAsksWithOkAndCancelUntilCancelled) {
    Package("lib.dll.bak", "new", 0);
    HANDLE held = HoldExclusively(install / "lib.dll.bak");
    ui.answers = {IDOK, IDCANCEL};
    EXPECT_EQ(dat.RunCopy(), 0);
    ::CloseHandle(held);
    EXPECT_TRUE(ui.dialogs.empty());
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1].text, "Please stop executable file:\n" + install / "lib.dll.bak" +
                                    "\nto install new version.");
    EXPECT_EQ(ui.boxes[1].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
}

TEST_F(CopyRunTest, TargetsInSiblingAndNestedDirectoriesGetTheirDirectoriesMadeAndRecorded) {
    ::CreateDirectoryA((install / "old").c_str(), nullptr); // found, so not the run's
    const std::vector<std::string> names = {"a\\1.txt",      "a\\b\\2.txt",    "a\\c\\3.txt",
                                            "d\\4.txt",      "a\\b\\c\\5.txt", "a\\6.txt",
                                            "old\\e\\7.txt", "8.txt"};
    for (const std::string& name : names)
        Package(name, name, 0);
    EXPECT_EQ(dat.RunCopy(), 1);
    for (const std::string& name : names)
        EXPECT_EQ(ReadFileBytes(install / name), name);
    const std::vector<std::string> made = {
        "a",           "a\\1.txt", "a\\b",          "a\\b\\2.txt", "a\\c",
        "a\\c\\3.txt", "d",        "d\\4.txt",      "a\\b\\c",     "a\\b\\c\\5.txt",
        "a\\6.txt",    "old\\e",   "old\\e\\7.txt", "8.txt"};
    ASSERT_EQ(dat.Transaction().createdPaths.size(), made.size());
    for (size_t i = 0; i < made.size(); ++i)
        EXPECT_EQ(dat.Transaction().createdPaths[i], install / made[i]) << i;
}

TEST_F(CopyRunTest, PackagedCopyInUseIsDeletedAtRestart) {
    Package("zlib_in_use.dll", "z", 0);
    HANDLE held = ::CreateFileA((source / "zlib_in_use.dll").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(dat.RunCopy(), 1);
    ::CloseHandle(held);
    EXPECT_NE(PendingRestartDeletions().find(source / "zlib_in_use.dll|"), std::string::npos);
}

TEST_F(CopyRunTest, RecordFailureKeepsThePackageForAnotherTry) {
    Package("a.txt", "a", 0);
    ::CreateDirectoryA((install / "SetupInfo.dat").c_str(), nullptr); // blocks the record
    EXPECT_EQ(dat.RunCopy(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_CANNOT_CREATE_FILE, Record()));
    EXPECT_TRUE(FileExists(source / "a.txt"));
}

namespace {

// A nearly full volume that the test script may provide (a small tmpfs),
// as a Windows path; empty when there is none.
std::string SmallVolume() {
    const char* unixPath = std::getenv("SETUP_TEST_SMALL_VOLUME");
    if (!unixPath || !*unixPath)
        return "";
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

} // namespace

TEST_F(CopyRunTest, FullDiskNamesTheTargetAndRecordsNothing) {
    const std::string volume = SmallVolume();
    if (volume.empty())
        GTEST_SKIP() << "no small volume to fill (SETUP_TEST_SMALL_VOLUME)";
    const std::string installDir = volume + "\\full-disk-test";
    RemoveTree(installDir);
    ASSERT_TRUE(::CreateDirectoryA(installDir.c_str(), nullptr));
    dat.SetDirectories(source.Path(), installDir);
    Package("big.bin", setupcore::PackBytes(Text(4 * 1024 * 1024, 'b')), 1);

    EXPECT_EQ(dat.RunCopy(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Formatted(IDS_EXTRACT_FAILED, installDir + "\\big.bin"));
    EXPECT_EQ(ReadFileBytes(installDir + "\\big.bin"), "");
    EXPECT_FALSE(FileExists(installDir + "\\SetupInfo.dat"));
    EXPECT_TRUE(FileExists(source / "big.bin"));
    RemoveTree(installDir);
}

namespace {

// A packaged file that cannot be read to its end: a named pipe whose server
// writes `bytes` and closes, so that the reader's next read fails.
class BreakingPipe {
public:
    BreakingPipe(const std::string& name, const std::string& bytes)
        : path_("\\\\.\\pipe\\" + name),
          pipe_(::CreateNamedPipeA(path_.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                                   1, 65536, 65536, 0, nullptr)),
          server_([this, bytes] { Serve(bytes); }) {}
    ~BreakingPipe() {
        // Should the copy run never have opened the pipe, a reader of our own
        // lets the server finish.
        UniqueFileHandle reader(
            ::CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        char buffer[65536];
        DWORD got = 0;
        while (reader && ::ReadFile(reader.get(), buffer, sizeof buffer, &got, nullptr))
            ;
        server_.join();
    }
    BreakingPipe(const BreakingPipe&) = delete;
    BreakingPipe& operator=(const BreakingPipe&) = delete;

private:
    void Serve(const std::string& bytes) {
        DWORD written = 0;
        if (::ConnectNamedPipe(pipe_.get(), nullptr) &&
            ::WriteFile(pipe_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                        nullptr))
            ::FlushFileBuffers(pipe_.get()); // until the reader has it all
        pipe_.reset();
    }

    std::string path_;
    UniqueFileHandle pipe_;
    std::thread server_;
};

// No handle of the copy run's is left open on the file.
bool OpensExclusively(const std::string& path) {
    UniqueFileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(file);
}

} // namespace

// A large file goes through the read-ahead: a failure at any of its stages
// stops the run with the message of old, and leaves what any failed run leaves.
TEST_F(CopyRunTest, LargeFileFailingAtAnyStageIsToldAndTheRunUndone) {
    const std::string text = Text(700 * 1024, 'p'); // three chunks
    // Found by the inflating, once most of the file is written.
    const std::string tooLong = setupcore::PackBytes(text, 600 * 1024);
    // Found by the writing, after all of it is written.
    std::string wrongChecksum = setupcore::PackBytes(text);
    wrongChecksum.back() ^= 0x01;
    const std::string volume = SmallVolume();
    struct Stage {
        const char* name;
        std::string stored;
        bool throughPipe; // else a file in the source directory
        std::string installDir;
        UINT message; // naming the source, or the target when writing failed
    };
    const Stage stages[] = {
        {"read", text, true, install.Path(), IDS_CANNOT_OPEN_FILE},
        {"inflate", tooLong, false, install.Path(), IDS_FILE_INVALID},
        {"checksum", wrongChecksum, false, install.Path(), IDS_FILE_INVALID},
        {"write", setupcore::PackBytes(Text(4 * 1024 * 1024, 'w')), false,
         volume.empty() ? "" : volume + "\\pipeline-test", IDS_EXTRACT_FAILED},
    };
    for (const Stage& stage : stages) {
        SCOPED_TRACE(stage.name);
        if (stage.installDir.empty())
            continue; // no small volume to fill
        RemoveTree(stage.installDir);
        ::CreateDirectoryA(stage.installDir.c_str(), nullptr);
        const std::string name = stage.throughPipe
                                     ? "kestrel-copy-run-" + std::to_string(::GetCurrentProcessId())
                                     : "big.bin";
        std::optional<BreakingPipe> pipe;
        if (stage.throughPipe)
            pipe.emplace(name, stage.stored);
        else
            WriteFileBytes(source / name, stage.stored);
        const std::string sourceDir = stage.throughPipe ? "\\\\.\\pipe" : source.Path();
        const std::string entry = "docs\\" + name;
        TestInstallation run;
        run.SetDirectories(sourceDir, stage.installDir);
        run.AddFileEntry(entry, !stage.throughPipe);
        ui.boxes.clear();

        EXPECT_EQ(run.RunCopy(), 0);
        const std::string docs = stage.installDir + "\\docs", target = docs + "\\" + name;
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, Formatted(stage.message, stage.message == IDS_EXTRACT_FAILED
                                                                 ? target
                                                                 : AppendPath(sourceDir, name)));
        EXPECT_EQ(ReadFileBytes(target), "");
        EXPECT_FALSE(FileExists(stage.installDir + "\\SetupInfo.dat"));
        EXPECT_EQ(run.Transaction().createdPaths, (std::vector<std::string>{docs, target}));
        run.Undo();
        EXPECT_FALSE(DirectoryExists(docs));
        if (!stage.throughPipe) {
            EXPECT_TRUE(OpensExclusively(source / name)) << "the package stays, and is let go";
        }
        if (stage.installDir != install.Path())
            RemoveTree(stage.installDir);
    }
}
