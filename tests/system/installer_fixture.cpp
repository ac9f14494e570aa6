#include "installer_fixture.h"

#include "install_record_format.h"
#include "package_index.h"
#include "packaged_file.h"
#include "test_files.h"

#include <algorithm>

namespace installertest {

namespace {

// What `after` holds that `before` does not, one entry a line.
std::string Added(const std::set<std::string>& before, const std::set<std::string>& after) {
    std::string added;
    for (const std::string& entry : after)
        if (!before.count(entry))
            added += entry + "\n";
    return added;
}

// Every file and directory below `root`, but those below `skipped`.
void ListTree(const std::string& root, const std::vector<std::string>& skipped,
              std::set<std::string>& paths) {
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA((root + "\\*").c_str(), &found));
    if (!search)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = root + "\\" + name;
        if (std::find(skipped.begin(), skipped.end(), path) != skipped.end())
            continue;
        paths.insert(path);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListTree(path, skipped, paths);
    } while (::FindNextFileA(search.get(), &found));
}

// Every key and value below a key of HKEY_CURRENT_USER, Wine's own settings left out.
void ListRegistry(HKEY key, const std::string& path, std::set<std::string>& entries) {
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (::RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        entries.insert(path + "|" + name);
    }
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::string child = path.empty() ? name : path + "\\" + name;
        if (child == "Software\\Wine")
            continue;
        entries.insert(child + "\\");
        CRegKeyHolder sub;
        if (sub.Open(key, name, KEY_READ) == ERROR_SUCCESS)
            ListRegistry(sub.m_hKey, child, entries);
    }
}

} // namespace

std::string ShellFolder(int folder) {
    std::string path;
    GetSpecialFolderPath(path, folder);
    return path;
}

ShortcutContents ReadLink(const std::string& path) {
    ShortcutContents link;
    link.iconIndex = -1;
    ReadShortcut(path, link);
    return link;
}

MachineSnapshot MachineSnapshot::Take(const std::vector<std::string>& skipped) {
    MachineSnapshot snapshot;
    ListTree("C:", skipped, snapshot.files);
    ListRegistry(HKEY_CURRENT_USER, "", snapshot.registry);
    return snapshot;
}

void ExpectNothingLeft(const MachineSnapshot& before, const MachineSnapshot& after) {
    const std::string scheduled = PendingRestartDeletions();
    for (const std::string& path : after.files)
        if (!before.files.count(path) && scheduled.find(path + "|") == std::string::npos)
            ADD_FAILURE() << "left behind: " << path;
    // What an earlier run left to the restart, and the hand-off directories
    // of uninstallations that were ended, the next run may clear itself.
    char temporary[MAX_PATH];
    const std::string handOffs =
        std::string(temporary, ::GetTempPathA(MAX_PATH, temporary)) + "Setup-";
    std::set<std::string> stillThere = after.files;
    for (const std::string& path : before.files)
        if (scheduled.find(path + "|") != std::string::npos ||
            _strnicmp(path.c_str(), handOffs.c_str(), handOffs.size()) == 0)
            stillThere.insert(path);
    EXPECT_EQ(Added(stillThere, before.files), "") << "removed although there before";
    EXPECT_EQ(Added(before.registry, after.registry), "") << "registry entries left behind";
    EXPECT_EQ(Added(after.registry, before.registry), "") << "registry entries removed";
}

void Installer::SetUp() {
    ::SetEnvironmentVariableA("SETUP_TEST_LAUNCH_LOG", launches_.Path().c_str());
    install_ = programFiles_ + "\\Kestrel Under Test";
    ASSERT_TRUE(CopySetupProgram(setup_.Path(), "Setup.exe"));
    for (const char* group : {"beta", "Alpha"})
        ::CreateDirectoryA((programs_ + "\\" + group).c_str(), nullptr);
}
void Installer::TearDown() {
    for (const char* group : {"beta", "Alpha", "Kestrel Group"})
        RemoveTree(programs_ + "\\" + group);
    RemoveTree(install_);
    ::DeleteFileA((ShellFolder(CSIDL_DESKTOP) + "\\Kestrel Test 2.lnk").c_str());
    CRegKeyHolder run;
    if (run.Open(HKEY_CURRENT_USER, kRunKey, KEY_ALL_ACCESS) == ERROR_SUCCESS)
        ::RegDeleteValueA(run.m_hKey, "KestrelApp");
}

void Installer::WritePackage(bool withLicense, bool damaged) {
    const std::string recorder = ReadFileBytes(OwnDirectory() + "\\launch_recorder.exe");
    setupcore::PackageIndex index;
    index.appExe = "App.exe";
    index.folderName = kFolderName;
    index.postInstall = "Post.exe";
    const auto add = [&](const std::string& name, const std::string& bytes, bool packed) {
        index.files.push_back({name, packed ? 1 : 0});
        if (name != "Setup.exe" && name != "zlib1.dll")
            WriteFileBytes(setup_ / name.substr(name.find_last_of('\\') + 1),
                           packed ? setupcore::PackBytes(bytes) : bytes);
    };
    add("App.exe", recorder, true);
    add("Post.exe", recorder, false);
    std::string docs = setupcore::PackBytes(kReadme);
    add("docs\\readme.txt", kReadme, true);
    if (damaged) {
        docs[docs.size() / 2] ^= 0x5A;
        WriteFileBytes(setup_ / "readme.txt", docs);
    }
    add("AppIcon.ico", "icon", false);
    add("Setup.exe", "", false);
    add("zlib1.dll", "", false);
    WriteFileBytes(setup_ / "Setup.dat", setupcore::EncodePackageIndex(index));
    if (withLicense)
        WriteFileBytes(setup_ / "License.txt", "Terms\r\nof use");
    WriteFileBytes(setup_ / "URL.txt", "https://kestrel.invalid/");
    WriteFileBytes(setup_ / "mine.txt", "the user's own");
}

windowdriver::RunResult Installer::RunQuietUninstall(const std::string& directory) {
    char temporary[MAX_PATH];
    const std::string defaultLog =
        std::string(temporary, ::GetTempPathA(MAX_PATH, temporary)) + "Setup.log";
    const bool logWasThere = FileExists(defaultLog);
    const std::string command = RegistryString(kUninstallKey, "QuietUninstallString");
    const windowdriver::RunResult removal = windowdriver::RunAnsweringMessageBoxes(
        command.substr(1, command.find('"', 1) - 1), command, directory);
    if (!logWasThere)
        ::DeleteFileA(defaultLog.c_str());
    return removal;
}

std::string Installer::CommandLine(const std::string& arguments) const {
    const std::string line = "\"" + setup_ / "Setup.exe" + "\"";
    return arguments.empty() ? line : line + " " + arguments;
}

std::string Installer::Launched(const char* program) const {
    return ReadFileBytes(launches_ / (std::string(program) + ".log"));
}

MachineSnapshot Installer::SnapshotBeforeInstalling() {
    EXPECT_EQ(CRegKeyHolder().Create(HKEY_CURRENT_USER, kUninstallKey), ERROR_SUCCESS);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey); // its parent stays
    return MachineSnapshot::Take({setup_.Path(), launches_.Path()});
}

std::string Installer::ExpectedRecord(const std::string& group, bool desktop,
                                      bool autoStart) const {
    const std::string quickLaunch =
        ShellFolder(CSIDL_APPDATA) +
        "\\\\Microsoft\\Internet Explorer\\Quick Launch\\Kestrel Test 2.lnk";
    const std::string registry = std::string("%REG_CURRENT_USER%") + kUninstallKey;
    std::vector<std::string> items = {install_ + "\\App.exe",          install_ + "\\Post.exe",
                                      install_ + "\\docs\\readme.txt", install_ + "\\AppIcon.ico",
                                      install_ + "\\Setup.exe",        install_ + "\\zlib1.dll",
                                      install_ + "\\URL.txt",          group,
                                      group + "\\Kestrel Test 2.lnk"};
    if (desktop)
        items.push_back(ShellFolder(CSIDL_DESKTOP) + "\\Kestrel Test 2.lnk");
    for (const std::string& item :
         {quickLaunch, group + "\\Uninstall.lnk", registry + "\\UninstallString",
          registry + "\\DisplayName", registry + "\\", group + "\\"})
        items.push_back(item);
    if (autoStart)
        items.push_back(std::string("%REG_CURRENT_USER%") + kRunKey + "\\KestrelApp");
    return setupcore::EncodeInstallRecord({install_, "", items});
}

} // namespace installertest
