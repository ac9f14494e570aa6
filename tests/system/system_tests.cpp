// The real Setup.exe, copied into a fresh setup directory and started as a
// user would start it; the tests check the boxes it shows, word for word, and
// that it ends by itself once they are answered.
#include "package_index.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using windowdriver::MessageBoxContent;
using windowdriver::RunResult;

// The texts of the string table as the user reads them.
const char kCannotFindSetupInfo[] = "Setup can not find the setup information file.";

std::string CannotOpenFile(const std::string& path) {
    return "Can not open the file " + path + "\n.Setup can not to continue.";
}

std::string FileIsInvalid(const std::string& path) {
    return "The file " + path + " is invalid.";
}

// The directory that holds this test program, and beside it Setup.exe and zlib1.dll.
std::string OwnDirectory() {
    char path[MAX_PATH * 4];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string directory(path, length < sizeof path ? length : 0);
    size_t slash = directory.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : directory.substr(0, slash);
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileA(child.c_str());
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(path.c_str());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "could not write " << path;
}

// Each test gets a setup directory of its own under the temporary directory;
// it is removed afterwards, when the program run in it has ended.
class SetupProgram : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        DWORD length = ::GetTempPathA(sizeof temp, temp);
        ASSERT_GT(length, 0u);
        std::string base(temp, length);
        if (base.back() == '\\')
            base.pop_back();
        for (unsigned attempt = 0; directory_.empty() && attempt < 1000; ++attempt) {
            std::string candidate = base + "\\setup-system-" +
                                    std::to_string(::GetCurrentProcessId()) + "-" +
                                    std::to_string(++counter_);
            if (::CreateDirectoryA(candidate.c_str(), nullptr))
                directory_ = candidate;
        }
        ASSERT_FALSE(directory_.empty()) << "no temporary setup directory could be made";
    }

    void TearDown() override {
        if (directory_.empty())
            return;
        // The run has ended; give the system a moment to let go of its files.
        for (int attempt = 0; attempt < 20 && Exists(directory_); ++attempt) {
            RemoveTree(directory_);
            if (Exists(directory_))
                ::Sleep(50);
        }
        EXPECT_FALSE(Exists(directory_)) << "could not remove " << directory_;
    }

    std::string Dir() const { return directory_; }
    std::string In(const std::string& name) const { return directory_ + "\\" + name; }

    // Copies Setup.exe (under `programName`) and zlib1.dll into the setup directory.
    void CopyProgram(const std::string& programName) {
        const std::string from = OwnDirectory();
        ASSERT_TRUE(::CopyFileA((from + "\\Setup.exe").c_str(), In(programName).c_str(), FALSE))
            << "could not copy " << from << "\\Setup.exe";
        ASSERT_TRUE(::CopyFileA((from + "\\zlib1.dll").c_str(), In("zlib1.dll").c_str(), FALSE))
            << "could not copy " << from << "\\zlib1.dll";
    }

    // Runs the copied program from the setup directory, its full path quoted as
    // argv[0], answering every box with its default button.
    RunResult Run(const std::string& programName, const std::string& arguments = "") {
        const std::string program = In(programName);
        std::string commandLine = "\"" + program + "\"";
        if (!arguments.empty())
            commandLine += " " + arguments;
        return windowdriver::RunAnsweringMessageBoxes(program, commandLine, directory_);
    }

    // The boxes the program shows when its package index cannot be used: the
    // reader's own message first, then the start-up's.
    void ExpectRefusedIndex(const RunResult& result, const std::string& caption,
                            const std::string& readerMessage) {
        ASSERT_TRUE(result.started) << result.error;
        const std::vector<MessageBoxContent> expected = {{caption, readerMessage},
                                                         {caption, kCannotFindSetupInfo}};
        EXPECT_EQ(result.boxes, expected) << result.Describe();
        EXPECT_FALSE(result.otherWindowSeen) << result.Describe();
        EXPECT_TRUE(result.exited) << result.Describe();
        EXPECT_EQ(result.exitCode, 0u) << result.Describe();
    }

private:
    static unsigned counter_;
    std::string directory_;
};

unsigned SetupProgram::counter_ = 0;

setupcore::PackageIndex SmallIndex() {
    setupcore::PackageIndex index;
    index.appExe = "App.exe";
    index.header2 = "";
    index.folderName = "App";
    index.postInstall = "";
    return index;
}

TEST_F(SetupProgram, MissingIndexShowsCannotOpenThenCannotFind) {
    CopyProgram("Setup.exe");
    RunResult result = Run("Setup.exe");
    ExpectRefusedIndex(result, "Setup", CannotOpenFile(In("Setup.dat")));
}

TEST_F(SetupProgram, IndexEndingBeforeItsPromisedEntriesShowsInvalidThenCannotFind) {
    // A sound header and no obsolete files; the entry count promises three
    // entries, and the file ends right after it.
    std::string bytes = setupcore::EncodePackageIndex(SmallIndex());
    ASSERT_GE(bytes.size(), 4u);
    bytes.replace(bytes.size() - 4, 4, std::string("\x03\x00\x00\x00", 4));
    ASSERT_FALSE(
        setupcore::ParsePackageIndex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())
            .Ok());
    CopyProgram("Setup.exe");
    WriteBytes(In("Setup.dat"), bytes);
    RunResult result = Run("Setup.exe");
    ExpectRefusedIndex(result, "Setup", FileIsInvalid(In("Setup.dat")));
}

TEST_F(SetupProgram, IndexWithUnterminatedHeaderStringShowsInvalidThenCannotFind) {
    const std::string bytes = std::string(4, '\0') + "App.exe";
    ASSERT_EQ(
        setupcore::ParsePackageIndex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())
            .error,
        setupcore::IndexError::HeaderUnterminated);
    CopyProgram("Setup.exe");
    WriteBytes(In("Setup.dat"), bytes);
    RunResult result = Run("Setup.exe");
    ExpectRefusedIndex(result, "Setup", FileIsInvalid(In("Setup.dat")));
}

TEST_F(SetupProgram, UninstallSwitchWithTwoMoreArgumentsEndsWithoutAnyWindow) {
    CopyProgram("Setup.exe");
    RunResult result = Run("Setup.exe", "/uninstall a b");
    ASSERT_TRUE(result.started) << result.error;
    EXPECT_TRUE(result.boxes.empty()) << result.Describe();
    EXPECT_FALSE(result.otherWindowSeen) << result.Describe();
    EXPECT_TRUE(result.exited) << result.Describe();
    EXPECT_EQ(result.exitCode, 0u) << result.Describe();
}

TEST_F(SetupProgram, RenamedProgramCaptionsItsBoxesWithItsOwnBaseName) {
    CopyProgram("Inst.exe");
    RunResult result = Run("Inst.exe");
    ExpectRefusedIndex(result, "Inst", CannotOpenFile(In("Setup.dat")));
}

} // namespace
