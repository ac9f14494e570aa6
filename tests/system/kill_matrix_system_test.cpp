// The real Setup.exe ended at once (as TerminateProcess ends it, or a power
// cut) at moments spread evenly over four operations: a first install, a
// reinstall with other contents, an update that drops and adds files, and a
// quiet uninstall. After each end, no file stands torn under its name; the
// next run (an install elsewhere, an install again, or the entry's
// uninstall) ends with 0; and once the installation is removed, the machine
// holds nothing the first install did not find.
//
// The program ends itself at the Nth of its moments (every journal write,
// every chunk a copy writes, every item an uninstallation removes) when
// KESTREL_SETUP_END_AT is N. KESTREL_KILL_MOMENTS chooses how many moments
// an operation is ended at (8 by default).
#include "installer_fixture.h"
#include "journal_store.h"
#include "package_identity.h"
#include "package_index.h"
#include "packaged_file.h"
#include "test_files.h"

#include <cstdlib>
#include <iostream>
#include <map>

namespace {

using namespace installertest;
using windowdriver::RunResult;

constexpr DWORD kEndedAtMoment = 0xDEAD;

// Text-like bytes of `size`, different for every `seed`: large enough that a
// file is written in several chunks.
std::string Filler(size_t size, int seed) {
    std::string text;
    text.reserve(size);
    uint32_t state = 2654435761u * static_cast<uint32_t>(seed + 1);
    while (text.size() < size) {
        state = state * 1664525u + 1013904223u;
        text += "word" + std::to_string(state >> 20) + ((state & 7) ? " " : "\r\n");
    }
    text.resize(size);
    return text;
}

// One version of the package: what each packaged name holds.
using Contents = std::map<std::string, std::string>;

Contents Version(int version, int seed) {
    Contents files = {
        {"docs\\readme.txt", "version " + std::to_string(version) + "." + std::to_string(seed)},
        {"AppIcon.ico", "icon"}};
    files[version == 1 ? "old\\only-v1.txt" : "new\\only-v2.txt"] = "only here";
    for (int i = 0; i < 3; ++i)
        files["data\\part" + std::to_string(i) + ".bin"] = Filler(600000, seed * 10 + i);
    return files;
}

int MomentsToTry() {
    const char* asked = std::getenv("KESTREL_KILL_MOMENTS");
    const int count = asked ? std::atoi(asked) : 0;
    return count >= 2 ? count : 8;
}

int FailuresSoFar() {
    const ::testing::TestResult* result =
        ::testing::UnitTest::GetInstance()->current_test_info()->result();
    int failures = 0;
    for (int i = 0; i < result->total_part_count(); ++i)
        failures += result->GetTestPartResult(i).failed() ? 1 : 0;
    return failures;
}

class KillMatrix : public Installer {
protected:
    void SetUp() override {
        Installer::SetUp();
        install_ = root_ + "\\App";
        ::SetEnvironmentVariableA("KESTREL_SETUP_END_AT", nullptr);
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("KESTREL_SETUP_END_AT", nullptr);
        ClearJournal("Kestrel Test 2"); // what a failed case left, for the next one
        Installer::TearDown();
        RemoveTree(root_);
        RemoveTree(programs_ + "\\Matrix");
    }

    void WriteVersion(const Contents& files, int version) {
        const std::string recorder = ReadFileBytes(OwnDirectory() + "\\launch_recorder.exe");
        setupcore::PackageIndex index;
        index.appExe = "App.exe";
        index.folderName = kFolderName;
        index.files.push_back({"App.exe", 1});
        WriteFileBytes(setup_ / "App.exe", setupcore::PackBytes(recorder));
        for (const auto& [name, bytes] : files) {
            index.files.push_back({name, 1});
            WriteFileBytes(setup_ / name.substr(name.find_last_of('\\') + 1),
                           setupcore::PackBytes(bytes));
        }
        index.files.push_back({"Setup.exe", 0});
        index.files.push_back({"zlib1.dll", 0});
        WriteFileBytes(setup_ / "Setup.dat", setupcore::EncodePackageIndex(index) +
                                                 setupcore::EncodePackageIdentity(
                                                     {std::to_string(version) + ".0", "Kestrel"}));
        ASSERT_TRUE(CopySetupProgram(setup_.Path(), "Setup.exe"));
    }

    // Version 1 installed whole, then the package `next` offered in its place.
    void InstallThenOffer(const Contents& next, int version) {
        WriteVersion(v1_, 1);
        ASSERT_EQ(Install(install_, 0).exitCode, 0u) << ReadFileBytes(log_);
        WriteVersion(next, version);
    }

    // Runs the package's Setup.exe silently; `endAt` 0 lets it run to its end.
    RunResult Install(const std::string& directory, long endAt) {
        Watch(endAt);
        windowdriver::RunOptions options;
        options.stopAtOtherWindow = false;
        const RunResult run = windowdriver::RunAnsweringMessageBoxes(
            setup_ / "Setup.exe",
            CommandLine("/S /GROUP=Matrix \"/D=" + directory + "\" \"/LOG=" + log_ + "\""),
            setup_.Path(), options);
        Watch(-1);
        return run;
    }
    // The entry's QuietUninstallString, as a package manager starts it, with
    // the test's log.
    RunResult Uninstall(long endAt) {
        Watch(endAt);
        const std::string command = RegistryString(kUninstallKey, "QuietUninstallString");
        const RunResult run = windowdriver::RunAnsweringMessageBoxes(
            command.substr(1, command.find('"', 1) - 1), command + " \"/LOG=" + log_ + "\"",
            setup_.Path());
        Watch(-1);
        return run;
    }
    static void Watch(long endAt) {
        ::SetEnvironmentVariableA("KESTREL_SETUP_END_AT",
                                  endAt < 0 ? nullptr : std::to_string(endAt).c_str());
    }
    // The moments the last run logged: the largest count of any of its processes.
    long MomentsLogged(const std::string& logFile) const {
        const std::string log = ReadFileBytes(logFile);
        long most = 0;
        for (size_t at = log.find("Moments passed: "); at != std::string::npos;
             at = log.find("Moments passed: ", at + 1))
            most = std::max(most, std::atol(log.c_str() + at + 16));
        return most;
    }
    // From the first moment to the last.
    std::vector<long> Spread(long total) const {
        const long count = std::min<long>(MomentsToTry(), total); // at most every moment
        std::vector<long> moments;
        for (int i = 0; i < count; ++i)
            moments.push_back(1 + (total - 1) * i / (count - 1));
        return moments;
    }

    // Every packaged name holds nothing, or one of the versions whole.
    void ExpectNothingTorn(const std::string& directory, const Contents& older,
                           const Contents& newer) {
        for (const Contents* version : {&older, &newer})
            for (const auto& [name, bytes] : *version) {
                const std::string path = directory + "\\" + name;
                if (!FileExists(path))
                    continue;
                const std::string now = ReadFileBytes(path);
                const auto other = (version == &older ? newer : older).find(name);
                const bool whole =
                    now == bytes ||
                    (other != (version == &older ? newer : older).end() && now == other->second);
                EXPECT_TRUE(whole) << "torn: " << path << " (" << now.size() << " bytes)";
            }
    }
    void ExpectInstalled(const std::string& directory, const Contents& files) {
        for (const auto& [name, bytes] : files)
            EXPECT_EQ(ReadFileBytes(directory + "\\" + name), bytes) << name;
    }
    // The installation removed through its entry, then the machine as it was.
    void RemoveAndExpectNothingLeft(const MachineSnapshot& before) {
        if (RegistryValueExists(kUninstallKey, "QuietUninstallString")) {
            const RunResult removal = Uninstall(-1);
            EXPECT_EQ(removal.exitCode, 0u) << removal.Describe() << ReadFileBytes(log_);
            EXPECT_FALSE(RegistryValueExists(kUninstallKey, "UninstallString"))
                << ReadFileBytes(log_);
        }
        const int failures = FailuresSoFar();
        ExpectNothingLeft(before, MachineSnapshot::Take({setup_.Path(), launches_.Path()}));
        if (FailuresSoFar() != failures)
            ADD_FAILURE() << "the runs' log:\n" << ReadFileBytes(log_);
    }
    void Report(const char* operation, long total, int tried, int survived) {
        std::cout << "[kill matrix] " << operation << ": " << total << " moments, ended at "
                  << tried << ", put right after " << survived << "\n";
    }

    // Counts the operation's moments in one whole run, then ends it at each
    // moment of the spread: `prepare` sets the machine up before each run,
    // `operate` runs the operation ending at a moment, `check` judges the
    // machine after the end and runs the next run. Each moment starts from
    // the machine as it was before anything was installed.
    template <class Prepare, class Operate, class Check>
    void Matrix(const char* operation, Prepare prepare, Operate operate, Check check) {
        const MachineSnapshot before = SnapshotBeforeInstalling();
        prepare();
        ::DeleteFileA(log_.c_str());
        ASSERT_EQ(operate(0L).exitCode, 0u) << ReadFileBytes(log_);
        const long total = MomentsLogged(log_);
        ASSERT_GT(total, 8) << ReadFileBytes(log_);
        RemoveAndExpectNothingLeft(before);
        int tried = 0, survived = 0;
        for (const long moment : Spread(total)) {
            SCOPED_TRACE(std::string(operation) + ", ended at moment " + std::to_string(moment) +
                         " of " + std::to_string(total));
            const int failuresBefore = FailuresSoFar();
            ::DeleteFileA(log_.c_str()); // each moment's log alone
            prepare();
            const RunResult ended = operate(moment);
            ++tried;
            EXPECT_EQ(ended.exitCode, kEndedAtMoment) << ended.Describe();
            check();
            RemoveAndExpectNothingLeft(before);
            if (FailuresSoFar() == failuresBefore)
                ++survived;
            if (::testing::Test::HasFatalFailure())
                break;
        }
        Report(operation, total, tried, survived);
    }

    const std::string root_ = "C:\\kestrel-kill-matrix";
    const std::string elsewhere_ = root_ + "\\Elsewhere";
    const std::string log_ = setup_ / "matrix.log";
    const Contents v1_ = Version(1, 1), v1b_ = Version(1, 2), v2_ = Version(2, 3);
};

TEST_F(KillMatrix, FirstInstallEndedAnywhereIsUndoneByAnInstallElsewhere) {
    Matrix(
        "first install", [&] { WriteVersion(v1_, 1); },
        [&](long moment) { return Install(install_, moment); },
        [&] {
            ExpectNothingTorn(install_, v1_, v1_);
            const RunResult next = Install(elsewhere_, 0);
            EXPECT_EQ(next.exitCode, 0u) << ReadFileBytes(log_);
            EXPECT_FALSE(DirectoryExists(install_)) << "the interrupted install is undone";
            ExpectInstalled(elsewhere_, v1_);
        });
}

TEST_F(KillMatrix, ReinstallEndedAnywhereLeavesTheOldOrIsDoneAgain) {
    Matrix(
        "reinstall with other contents", [&] { InstallThenOffer(v1b_, 1); },
        [&](long moment) { return Install(install_, moment); },
        [&] {
            ExpectNothingTorn(install_, v1_, v1b_);
            const RunResult next = Install(install_, 0);
            EXPECT_EQ(next.exitCode, 0u) << ReadFileBytes(log_);
            ExpectInstalled(install_, v1b_);
            EXPECT_TRUE(FilesMatching(install_ + "\\data", "*.kst-*").empty());
        });
}

TEST_F(KillMatrix, UpdateEndedAnywhereIsUndoneOrFinishedBeforeTheUninstall) {
    Matrix(
        "update dropping and adding files", [&] { InstallThenOffer(v2_, 2); },
        [&](long moment) { return Install(install_, moment); },
        [&] {
            ExpectNothingTorn(install_, v1_, v2_);
            // Either version stands whole once the uninstaller has put it right;
            // the uninstallation of the entry removes it.
        });
}

TEST_F(KillMatrix, QuietUninstallEndedAnywhereIsFinishedByTheNextRun) {
    Matrix(
        "quiet uninstall",
        [&] {
            WriteVersion(v1_, 1);
            ASSERT_EQ(Install(install_, 0).exitCode, 0u) << ReadFileBytes(log_);
        },
        [&](long moment) { return Uninstall(moment); },
        [&] {
            ExpectNothingTorn(install_, v1_, v1_);
            if (RegistryValueExists(kUninstallKey, "QuietUninstallString")) {
                const RunResult again = Uninstall(-1);
                EXPECT_EQ(again.exitCode, 0u) << again.Describe() << ReadFileBytes(log_);
            } else {
                // The entry was gone already: the next run of the package
                // (downloaded again: the installation took it away) finishes
                // the removal before it installs.
                WriteVersion(v1_, 1);
                const RunResult next = Install(install_, 0);
                EXPECT_EQ(next.exitCode, 0u) << ReadFileBytes(log_);
            }
        });
}

} // namespace

namespace {

// A person who starts the wizard after a crash is told, in one message, that
// the interrupted installation was undone, before the first page shows.
TEST_F(KillMatrix, TheWizardSaysInOneMessageThatAnInterruptedInstallationWasUndone) {
    const MachineSnapshot before = SnapshotBeforeInstalling();
    WriteVersion(v1_, 1);
    ASSERT_EQ(Install(install_, 20).exitCode, kEndedAtMoment) << ReadFileBytes(log_);
    ASSERT_TRUE(DirectoryExists(install_));

    const RunResult wizard = windowdriver::RunAnsweringMessageBoxes(
        setup_ / "Setup.exe", CommandLine(), setup_.Path()); // ended at its first page
    ASSERT_EQ(wizard.boxes.size(), 1u) << wizard.Describe();
    EXPECT_EQ(wizard.boxes[0].text,
              "An installation of Kestrel Test 2 was interrupted. Setup has undone it: the "
              "computer is as it was before.");
    EXPECT_TRUE(wizard.otherWindowSeen) << "the wizard goes on: " << wizard.Describe();
    EXPECT_FALSE(DirectoryExists(install_));
    ExpectNothingLeft(before, MachineSnapshot::Take({setup_.Path(), launches_.Path()}));
}

} // namespace
