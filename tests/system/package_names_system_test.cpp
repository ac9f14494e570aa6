// Packaged names through the real Setup.exe: an index naming a file outside
// the install directory is refused before anything is written, and a package
// whose names go beyond ASCII (built by the package builder from UTF-8, in
// code page 1252) and repeat across folders installs every file under its own
// name, clears the setup directory of it, and is removed again.
#include "installer_fixture.h"
#include "package_index.h"
#include "packsetup/package_writer.h"
#include "reg_key_holder.h"
#include "shell_link.h"
#include "system_support.h"
#include "test_support.h"
#include "wizard_driver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>

namespace {

using windowdriver::Process;
using wizarddriver::Wizard;

std::string ShellFolder(int folder) {
    std::string path;
    GetSpecialFolderPath(path, folder);
    return path;
}

// An ANSI path of this machine as the file system's Unicode name.
std::wstring Wide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                       &wide[0], static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length > 0 ? length : 0));
    return wide;
}

bool ExistsUnderUnicodeName(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A Unicode name in this machine's ANSI code page (every name here fits 1252).
std::string Ansi(const std::wstring& wide) {
    std::string ansi(wide.size() * 2, '\0');
    int length = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       &ansi[0], static_cast<int>(ansi.size()), nullptr, nullptr);
    ansi.resize(static_cast<size_t>(length > 0 ? length : 0));
    return ansi;
}

TEST(HostileIndex, SetupShowsInvalidThenCannotFindAndWritesNothing) {
    TempDir setup;
    ASSERT_TRUE(CopySetupProgram(setup.Path(), "Setup.exe"));
    setupcore::PackageIndex index;
    index.appExe = "App.exe";
    index.folderName = "Kestrel Hostile";
    index.files = {{"App.exe", 0}, {"..\\..\\outside.txt", 0}};
    WriteFileBytes(setup / "Setup.dat", setupcore::EncodePackageIndex(index));
    WriteFileBytes(setup / "App.exe", "MZ");
    WriteFileBytes(setup / "outside.txt", "escaped");
    // Where the name would land from the default install directory.
    const std::string programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    const FileGuard escaped(programFiles + "\\..\\outside.txt");
    const std::string install = programFiles + "\\Kestrel Hostile";

    const std::string program = setup / "Setup.exe";
    windowdriver::RunResult run =
        windowdriver::RunAnsweringMessageBoxes(program, "\"" + program + "\"", setup.Path());

    ASSERT_TRUE(run.started) << run.error;
    const std::vector<windowdriver::MessageBoxContent> expected = {
        {"Setup", "The file " + (setup / "Setup.dat") + " is invalid."},
        {"Setup", "Setup can not find the setup information file."}};
    EXPECT_EQ(run.boxes, expected) << run.Describe();
    EXPECT_FALSE(run.otherWindowSeen) << "no wizard: " << run.Describe();
    EXPECT_TRUE(run.exited) << run.Describe();
    EXPECT_FALSE(FileExists(escaped.Path()));
    EXPECT_FALSE(DirectoryExists(install));
    for (const char* kept : {"Setup.dat", "App.exe", "outside.txt"})
        EXPECT_TRUE(FileExists(setup / kept)) << kept << " stays in the setup directory";
}

// What the package holds: UTF-8 for the builder, the file system's Unicode
// name for the checks.
struct WesternFile {
    const char* packagedName;
    const wchar_t* installedAs; // below the install directory
    const wchar_t* storedAs;    // in the setup directory: flat, or nested when the name repeats
    const char* content;
};
const WesternFile kWesternFiles[] = {
    {"Café.exe", L"Caf\u00e9.exe", L"Caf\u00e9.exe", "MZ not started"},
    {"Grüße\\Übung.txt", L"Gr\u00fc\u00dfe\\\u00dcbung.txt", L"\u00dcbung.txt", "exercise"},
    {"Grüße\\Straße ß.txt", L"Gr\u00fc\u00dfe\\Stra\u00dfe \u00df.txt", L"Stra\u00dfe \u00df.txt",
     "street"},
    {"docs\\Résumé.txt", L"docs\\R\u00e9sum\u00e9.txt", L"R\u00e9sum\u00e9.txt", "summary"},
    {"locale\\de\\LC_MESSAGES\\kestrel.mo", L"locale\\de\\LC_MESSAGES\\kestrel.mo",
     L"locale\\de\\LC_MESSAGES\\kestrel.mo", "Deutsch"},
    {"locale\\fr\\LC_MESSAGES\\kestrel.mo", L"locale\\fr\\LC_MESSAGES\\kestrel.mo",
     L"locale\\fr\\LC_MESSAGES\\kestrel.mo",
     "Fran\xE7"
     "ais"},
    {"Grüße\\copyright", L"Gr\u00fc\u00dfe\\copyright", L"Gr\u00fc\u00dfe\\copyright", "one"},
    {"docs\\COPYRIGHT", L"docs\\COPYRIGHT", L"docs\\COPYRIGHT", "the same name in capitals"},
    {"plugins\\Über\\README.txt", L"plugins\\\u00dcber\\README.txt",
     L"plugins\\\u00dcber\\README.txt", "plug-in one"},
    {"plugins\\Zwei\\README.txt", L"plugins\\Zwei\\README.txt", L"plugins\\Zwei\\README.txt",
     "plug-in two"},
};
// The folders the nested files lay in, which the sweep takes away with them.
const wchar_t* const kNestedFolders[] = {L"locale", L"Gr\u00fc\u00dfe", L"plugins"};

// Names in the ANSI code page 1252, as this process and the installer see them.
const char kFolderName[] = "Kestrel Gr\xFC\xDF"
                           "e";
const char kUninstallParent[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrel Gr\xFC\xDF"
    "e";

class WesternNames : public ::testing::Test {
protected:
    void SetUp() override {
        // Wine takes the ANSI code page from the locale (wine-env.sh sets C.UTF-8).
        ASSERT_EQ(::GetACP(), 1252u) << "the names below are spelt in code page 1252";
        install_ = ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kFolderName;
        group_ = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\" + kFolderName;
        ASSERT_FALSE(DirectoryExists(install_)) << "left from an earlier run";
    }
    void TearDown() override {
        RemoveTree(install_);
        RemoveTree(group_);
    }

    // Builds the package with the real builder, the setup program and its
    // zlib1.dll included, into the setup directory.
    void BuildPackage() {
        namespace fs = std::filesystem;
        packsetup::PackagePlan plan;
        plan.appExe = "Café.exe";
        plan.folderName = "Kestrel Grüße";
        plan.outDir = fs::u8path(setup_.Path());
        plan.setupExe = fs::u8path(OwnDirectory() + "\\Setup.exe");
        plan.zlib = fs::u8path(OwnDirectory() + "\\zlib1.dll");
        int n = 0;
        for (const WesternFile& file : kWesternFiles) {
            const std::string source = sources_ / ("source" + std::to_string(n++));
            WriteFileBytes(source, file.content);
            plan.entries.push_back({fs::u8path(source), file.packagedName, false});
        }
        std::string error;
        ASSERT_TRUE(packsetup::BuildPackage(plan, error)) << error;
    }

    TempDir setup_, sources_;
    std::string install_, group_;
    RegistryKeyGuard uninstallEntry_{kUninstallKey};
};

TEST_F(WesternNames, InstallEveryFileUnderItsOwnNameClearTheSetupDirectoryAndUninstallAll) {
    BuildPackage();
    const std::wstring setupDir = Wide(setup_.Path());
    for (const WesternFile& file : kWesternFiles)
        ASSERT_TRUE(ExistsUnderUnicodeName(setupDir + L"\\" + file.storedAs)) << file.packagedName;
    // The user's own, beside the package and in one of its folders.
    WriteFileBytes(setup_ / "copyright", "the user's, at the top");
    WriteFileBytes(setup_ / "docs\\mine.txt", "the user's, in a package folder");
    ASSERT_TRUE(::CreateDirectoryA((setup_ / "empty").c_str(), nullptr));
    ASSERT_EQ(CRegKeyHolder().Create(HKEY_CURRENT_USER, kUninstallParent), ERROR_SUCCESS);
    const installertest::MachineSnapshot before =
        installertest::MachineSnapshot::Take({setup_.Path(), sources_.Path()});

    Process setup;
    std::string error;
    const std::string program = setup_ / "Setup.exe";
    ASSERT_TRUE(setup.Start(program, "\"" + program + "\"", setup_.Path(), error)) << error;
    Wizard wizard(setup);
    ASSERT_TRUE(wizard.WaitForSheet());
    EXPECT_EQ(wizard.PageTitle(), "Install Directory");
    EXPECT_EQ(wizard.Text(1004), "Welcome to Caf\xE9.exe");
    EXPECT_EQ(wizard.Text(1000), install_);
    ASSERT_TRUE(wizard.Press(wizarddriver::kNext));
    EXPECT_EQ(wizard.Text(1012), kFolderName);
    for (int box : {1014, 1015, 1016}) // no desktop or quick-launch link, nothing started
        wizard.SetChecked(box, false);
    ASSERT_TRUE(wizard.Press(wizarddriver::kFinish));
    ASSERT_TRUE(setup.WaitForExit(30000)) << "the wizard did not end after Install";

    const std::wstring install = Wide(install_);
    for (const WesternFile& file : kWesternFiles) {
        SCOPED_TRACE(file.packagedName);
        EXPECT_EQ(ReadFileBytes(Ansi(install + L"\\" + file.installedAs)), file.content);
        EXPECT_FALSE(ExistsUnderUnicodeName(setupDir + L"\\" + file.storedAs))
            << "the installer found it in the setup directory, and cleared it";
    }
    for (const wchar_t* folder : kNestedFolders)
        EXPECT_FALSE(ExistsUnderUnicodeName(setupDir + L"\\" + folder))
            << "emptied, so taken away: " << Ansi(folder);
    EXPECT_EQ(ReadFileBytes(setup_ / "copyright"), "the user's, at the top");
    EXPECT_EQ(ReadFileBytes(setup_ / "docs\\mine.txt"), "the user's, in a package folder");
    EXPECT_TRUE(DirectoryExists(setup_ / "empty")) << "never a package folder";
    const std::string record = ReadFileBytes(install_ + "\\SetupInfo.dat");
    EXPECT_NE(record.find(install_ + "\\docs\\R\xE9sum\xE9.txt"), std::string::npos)
        << "recorded in code page 1252";
    EXPECT_TRUE(FileExists(group_ + "\\Uninstall.lnk"));
    const std::string uninstallString = RegistryString(kUninstallKey, "UninstallString");
    ASSERT_EQ(uninstallString, "\"" + install_ + "\\Setup.exe\" /UNINSTALL");

    Process uninstall;
    ASSERT_TRUE(uninstall.Start(install_ + "\\Setup.exe", uninstallString, install_, error))
        << error;
    HWND confirmation = windowdriver::WaitForWindow(uninstall.Id(), "Uninstall", 15000);
    ASSERT_NE(confirmation, nullptr);
    windowdriver::PressButton(confirmation, IDOK);
    ASSERT_TRUE(uninstall.WaitForExit(15000));
    const DWORD start = ::GetTickCount();
    while (DirectoryExists(install_) && ::GetTickCount() - start < windowdriver::Allowing(30000))
        ::Sleep(100);
    ::Sleep(windowdriver::Allowing(500)); // the copy schedules its own files last

    installertest::ExpectNothingLeft(
        before, installertest::MachineSnapshot::Take({setup_.Path(), sources_.Path()}));
}

} // namespace
