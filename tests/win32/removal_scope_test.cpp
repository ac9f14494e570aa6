// The uninstaller against a record someone else wrote: whatever it names
// outside the places an installation puts things stays, and is listed in the
// one message the uninstaller ends with.
#include "byte_reader.h"
#include "current_directory.h"
#include "engine_test_support.h"
#include "install_record_format.h"
#include "kept_folders.h"
#include "path_helpers.h"
#include "setup_directory_sweep.h"
#include "shell_link.h"
#include "test_support.h"
#include "uninstallation.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <functional>

namespace {

const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kPrefix[] = "%REG_CURRENT_USER%";

// Puts back an environment variable of this process when it goes.
class EnvironmentGuard {
public:
    explicit EnvironmentGuard(const char* name) : name_(name) {
        char value[MAX_PATH * 2];
        const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
        had_ = length > 0 && length < sizeof value;
        if (had_)
            value_ = value;
    }
    ~EnvironmentGuard() { ::SetEnvironmentVariableA(name_, had_ ? value_.c_str() : nullptr); }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    const char* name_;
    bool had_ = false;
    std::string value_;
};

} // namespace

class TamperedRecord : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    TempDir root, victims, copyDirectory;
    CurrentDirectoryKeeper keeper; // the uninstaller leaves for the copy's directory
    std::string install = root / "App";

    void SetUp() override { ASSERT_TRUE(CreateDirectoryTree(install)); }

    // Writes the record, runs the uninstaller's removal, and returns it.
    RemovalOutcome RemoveWithRecord(const std::vector<std::string>& items) {
        WriteFileBytes(install + "\\SetupInfo.dat",
                       setupcore::EncodeInstallRecord({install, "", items}));
        return RemoveInstallation(install + "\\Setup.exe", copyDirectory / "Setup.exe");
    }
};

TEST_F(TamperedRecord, ItemsOutsideAnInstallationsPlacesSurviveAndAreListed) {
    const std::string windowsDirectory = WindowsDirectory() + "\\kestrel_tampered_dir";
    ::CreateDirectoryA(windowsDirectory.c_str(), nullptr);
    const struct DirectoryGuard {
        std::string path;
        ~DirectoryGuard() { ::RemoveDirectoryA(path.c_str()); }
    } windowsDirectoryGuard{windowsDirectory};
    RegistryValueGuard environment(HKEY_CURRENT_USER, "Environment", "KestrelTamperedVar");
    environment.Set("kept");
    RegistryKeyGuard vendor("Software\\KestrelTamperedVendor");
    SetRegistryValue(vendor.Path() + "\\Leaf", "value");
    RegistryKeyGuard otherEntry(std::string(kUninstall) + "KestrelTamperedOther");
    SetRegistryValue(otherEntry.Path(), "UninstallString", "\"C:\\Other\\Setup.exe\" /UNINSTALL");
    RegistryValueGuard otherAutoStart(HKEY_CURRENT_USER, kRun, "KestrelApp");
    otherAutoStart.Set("\"C:\\Other\\Notes.exe\"");
    const FileGuard otherLink(SpecialFolderPath(CSIDL_DESKTOP) + "\\KestrelTamperedOther.lnk");
    ASSERT_EQ(
        CreateShortcut("C:\\Other\\Notes.exe", otherLink.Path(), nullptr, nullptr, 0, nullptr),
        S_OK);
    WriteFileBytes(victims / "victim_doc.txt", "someone's");
    ASSERT_TRUE(CreateDirectoryTree(victims / "empty"));
    WriteFileBytes(root / "victim.txt", "beside the install directory");
    WriteFileBytes(install + "\\own.txt", "ours");
    // Below the Windows directory, but not made by this installation.
    const FileGuard windowsFile(WindowsDirectory() + "\\kestrel_tampered.ini");
    WriteFileBytes(windowsFile.Path(), "the system's");

    const struct {
        const char* name;
        std::string item;
        std::function<bool()> survived;
    } rows[] = {
        {"a file elsewhere", victims / "victim_doc.txt",
         [&] { return FileExists(victims / "victim_doc.txt"); }},
        {"a climb out of the install directory", install + "\\..\\victim.txt",
         [&] { return FileExists(root / "victim.txt"); }},
        {"a bare name that climbs out", "..\\victim.txt",
         [&] { return FileExists(root / "victim.txt"); }},
        {"an empty directory elsewhere", victims / "empty\\",
         [&] { return DirectoryExists(victims / "empty"); }},
        {"a directory in the Windows directory", windowsDirectory + "\\",
         [&] { return DirectoryExists(windowsDirectory); }},
        {"an environment variable", std::string(kPrefix) + "Environment\\KestrelTamperedVar",
         [&] { return RegistryValueExists("Environment", "KestrelTamperedVar"); }},
        {"another vendor's key", std::string(kPrefix) + vendor.Path() + "\\Leaf\\",
         [&] { return RegistryKeyExists(vendor.Path() + "\\Leaf"); }},
        {"another program's uninstall value",
         std::string(kPrefix) + otherEntry.Path() + "\\UninstallString",
         [&] { return RegistryValueExists(otherEntry.Path(), "UninstallString"); }},
        {"another program's uninstall entry",
         std::string(kPrefix) + kUninstall + "KestrelTamperedOther\\",
         [&] { return RegistryKeyExists(otherEntry.Path()); }},
        {"an auto-start value starting another program",
         std::string(kPrefix) + kRun + "\\KestrelApp",
         [&] { return RegistryValueExists(kRun, "KestrelApp"); }},
        {"a desktop link to another program", otherLink.Path(),
         [&] { return FileExists(otherLink.Path()); }},
        {"a file through a directory link", "C:\\kestrel-links\\install\\linked\\victim.txt",
         [] { return FileExists("C:\\kestrel-links\\outside\\victim.txt"); }},
        {"a climb after a forward slash", install + "\\x/../../victim.txt",
         [&] { return FileExists(root / "victim.txt"); }},
        {"a bare name that climbs with forward slashes", "p3/../../victim.txt",
         [&] { return FileExists(root / "victim.txt"); }},
        {"mixed separators that climb", install + "/docs\\../..\\victim.txt",
         [&] { return FileExists(root / "victim.txt"); }},
        {"a verbatim path", "\\\\?\\" + root / "victim.txt",
         [&] { return FileExists(root / "victim.txt"); }},
        {"a device path", "\\\\.\\" + root / "victim.txt",
         [&] { return FileExists(root / "victim.txt"); }},
        {"a Windows file the installation did not make", windowsFile.Path(),
         [&] { return FileExists(windowsFile.Path()); }},
    };
    std::vector<std::string> items = {install + "\\own.txt"};
    for (const auto& row : rows)
        items.push_back(row.item);

    const RemovalOutcome outcome = RemoveWithRecord(items);
    EXPECT_FALSE(outcome.problem);
    EXPECT_FALSE(FileExists(install + "\\own.txt")) << "what the installation made still goes";
    const std::string message = LeftItemsText(outcome.left);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(row.survived());
        EXPECT_NE(message.find(row.item + " (not made by this installation"), std::string::npos)
            << message;
    }
    EXPECT_EQ(outcome.left.size(), std::size(rows));
    EXPECT_TRUE(ui.boxes.empty()) << "the engine itself shows nothing";
}

TEST_F(TamperedRecord, ANulInsideAnItemIsADamagedRecordAndRemovesNothing) {
    WriteFileBytes(install + "\\own.txt", "ours");
    setupcore::ByteWriter record;
    record.Bytes(setupcore::kRecordSignature, setupcore::kRecordSignatureSize);
    record.Counted(install);
    record.Counted("");
    record.Counted(install + "\\own.txt");
    record.Counted(std::string("\0", 1) + install + "\\own.txt");
    record.Int32(-1);
    WriteFileBytes(install + "\\SetupInfo.dat", record.Result());
    const RemovalOutcome outcome =
        RemoveInstallation(install + "\\Setup.exe", copyDirectory / "Setup.exe");
    EXPECT_EQ(outcome.problem.kind, ProblemKind::RecordInvalid);
    EXPECT_TRUE(FileExists(install + "\\own.txt"));
}

// The install directory of the link fixture holds "linked", a link to a
// directory outside it: whatever form an item or a made folder takes, what
// lies through the link stays.
TEST(LinkedInstallDirectory, NoItemOrFolderIsRemovedThroughALinkAtAnyLevel) {
    ScriptedUserInterface ui;
    TempDir copyDirectory;
    CurrentDirectoryKeeper keeper;
    const std::string install = "C:\\kestrel-links\\install";
    const std::string victim = "C:\\kestrel-links\\outside\\victim.txt";
    ASSERT_TRUE(::CreateDirectoryA("C:\\kestrel-links\\outside\\deeper", nullptr) ||
                ::GetLastError() == ERROR_ALREADY_EXISTS);
    WriteFileBytes("C:\\kestrel-links\\outside\\deeper\\victim.txt", "not ours either");
    const std::vector<std::string> items = {
        "linked\\victim.txt",
        "nothere/../linked/victim.txt",
        install + "\\x/../linked\\victim.txt",
        install + "\\linked\\deeper\\victim.txt",
        install + "\\linked\\deeper\\",
    };
    WriteFileBytes(install + "\\SetupInfo.dat",
                   setupcore::EncodeInstallRecord({install, "", items}));
    WriteFileBytes(install + "\\SetupMade.dat",
                   setupcore::EncodeInstallRecord({install, "", {install + "\\linked\\deeper\\"}},
                                                  setupcore::kMadeListSignature));
    const RemovalOutcome outcome =
        RemoveInstallation(install + "\\Setup.exe", copyDirectory / "Setup.exe");
    EXPECT_FALSE(outcome.problem);
    EXPECT_EQ(ReadFileBytes(victim), "not ours");
    EXPECT_EQ(ReadFileBytes("C:\\kestrel-links\\outside\\deeper\\victim.txt"), "not ours either");
    EXPECT_TRUE(DirectoryExists("C:\\kestrel-links\\outside\\deeper"));
    EXPECT_TRUE(DirectoryExists(install + "\\linked"));
    const std::string message = LeftItemsText(outcome.left);
    for (const std::string& item : items) {
        SCOPED_TRACE(item);
        EXPECT_NE(message.find(item + " (not made by this installation"), std::string::npos)
            << message;
    }
    EXPECT_EQ(outcome.left.size(), items.size() + 1) << "the made folder through the link too";
}

TEST_F(TamperedRecord, WithoutARecordNothingIsRemoved) {
    // Started by hand with a path of someone else's: no record lies beside it.
    WriteFileBytes(victims / "notes.txt", "someone's notes");
    WriteFileBytes(victims / "zlib1.dll", "someone's library");
    ASSERT_TRUE(CreateDirectoryTree(victims / "empty\\deeper"));
    const RemovalOutcome outcome =
        RemoveInstallation(victims / "notes.txt", copyDirectory / "Setup.exe");
    EXPECT_EQ(outcome.problem.kind, ProblemKind::CannotOpenRecord);
    EXPECT_EQ(outcome.problem.path, victims / "notesInfo.dat");
    EXPECT_TRUE(FileExists(victims / "notes.txt"));
    EXPECT_TRUE(FileExists(victims / "zlib1.dll"));
    EXPECT_TRUE(DirectoryExists(victims / "empty\\deeper"));
    EXPECT_EQ(PendingRestartDeletions().find(copyDirectory / "Setup.exe"), std::string::npos)
        << "a program that does not run from a hand-off directory keeps its files";
}

TEST(HandOff, WithNoUsableTemporaryDirectoryNothingIsStartedAndTheUserLearnsWhy) {
    ScriptedUserInterface ui;
    TempDir install;
    WriteFileBytes(install / "Setup.exe", "program");
    WriteFileBytes(install / "zlib1.dll", "library");
    EnvironmentGuard tmp("TMP"), temp("TEMP");
    const std::string missing = install / "no such directory";
    ::SetEnvironmentVariableA("TMP", missing.c_str());
    ::SetEnvironmentVariableA("TEMP", missing.c_str());
    const Problem problem = HandOffToTemporaryCopy(install / "Setup.exe");
    EXPECT_EQ(problem.kind, ProblemKind::CannotCreateFile);
    EXPECT_NE(ProblemText(problem).find(missing), std::string::npos) << ProblemText(problem);
    EXPECT_FALSE(DirectoryExists(missing));
}

TEST(SetupDirectorySweep, NeverSchedulesARootOrAFolderTheShellKeeps) {
    for (const std::string& kept :
         {SpecialFolderPath(CSIDL_DESKTOP), SpecialFolderPath(CSIDL_PERSONAL),
          SpecialFolderPath(CSIDL_FAVORITES), SpecialFolderPath(CSIDL_PROFILE),
          SpecialFolderPath(CSIDL_PROGRAM_FILES), std::string("C:\\"), std::string("C:"),
          TemporaryDirectoryPath()}) {
        SCOPED_TRACE(kept);
        EXPECT_TRUE(IsKeptFolder(kept));
    }
    TempDir downloaded;
    EXPECT_FALSE(IsKeptFolder(downloaded.Path()));

    SweepSetupDirectory(SpecialFolderPath(CSIDL_DESKTOP), {"Setup.dat"});
    EXPECT_EQ(PendingRestartDeletions().find(SpecialFolderPath(CSIDL_DESKTOP) + "|"),
              std::string::npos);
}
