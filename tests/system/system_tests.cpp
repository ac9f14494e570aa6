// The real Setup.exe, copied into a fresh setup directory and started as a
// user would start it; the tests check the boxes it shows, word for word, and
// that it ends by itself once they are answered.
#include "package_index.h"
#include "system_support.h"
#include "test_support.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <windows.h>

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

// Each test gets a setup directory of its own under the temporary directory;
// it is removed afterwards, when the program run in it has ended.
class SetupProgram : public ::testing::Test {
protected:
    std::string Dir() const { return directory_.Path(); }
    std::string In(const std::string& name) const { return directory_ / name; }

    // Copies Setup.exe (under `programName`) and zlib1.dll into the setup directory.
    void CopyProgram(const std::string& programName) { CopySetupProgram(Dir(), programName); }

    // Runs the copied program from the setup directory, its full path quoted as
    // argv[0], answering every box with its default button.
    RunResult Run(const std::string& programName, const std::string& arguments = "") {
        const std::string program = In(programName);
        std::string commandLine = "\"" + program + "\"";
        if (!arguments.empty())
            commandLine += " " + arguments;
        return windowdriver::RunAnsweringMessageBoxes(program, commandLine, Dir());
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
        EXPECT_EQ(result.exitCode, 2u) << "package missing or invalid; " << result.Describe();
    }

private:
    TempDir directory_; // removed with all it holds once the test, and its run, ended
};

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
    WriteFileBytes(In("Setup.dat"), bytes);
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
    WriteFileBytes(In("Setup.dat"), bytes);
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
