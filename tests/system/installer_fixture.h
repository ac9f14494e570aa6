// Shared by the system tests that install a package with the real Setup.exe:
// the package they write, the places they look, and the snapshot of the disk
// and the registry that tells what an installation and its removal left.
#pragma once

#include "reg_key_holder.h"
#include "shell_link.h"
#include "system_support.h"
#include "test_support.h"
#include "window_driver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <set>
#include <string>
#include <vector>

namespace installertest {

inline constexpr char kFolderName[] = "Kestrel Test 2.1"; // display name: "Kestrel Test 2"
inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrel Test 2";
inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string ShellFolder(int folder);
ShortcutContents ReadLink(const std::string& path);

// Every file and directory below C: and every key and value below
// HKEY_CURRENT_USER (Wine's own settings left out), but the test's own
// directories, at one moment.
struct MachineSnapshot {
    std::set<std::string> files, registry;
    static MachineSnapshot Take(const std::vector<std::string>& skipped);
};
// Fails for everything `after` has that `before` lacks (files scheduled for
// deletion at restart aside) and for everything `before` had that is gone.
void ExpectNothingLeft(const MachineSnapshot& before, const MachineSnapshot& after);

class Installer : public ::testing::Test {
protected:
    void SetUp() override;
    // Whatever a failed run left outside the test's own directories goes.
    void TearDown() override;

    // Writes the package: the main program and the post-install program (both
    // recorders), a document in a subdirectory, the icon, and the setup
    // program and zlib1.dll installed as the uninstaller; License.txt only
    // when asked; and a file of the user's own beside it all.
    void WritePackage(bool withLicense, bool damaged = false);
    // The command line of the setup program, quoted, with `arguments`.
    std::string CommandLine(const std::string& arguments = std::string()) const;
    std::string Launched(const char* program) const;
    // Makes the parent of the uninstall entries exist, as on every Windows
    // (a fresh Wine prefix may lack it), and takes the snapshot of before.
    MachineSnapshot SnapshotBeforeInstalling();
    // The record, item by item as the installation makes them, in `group`,
    // with or without the desktop shortcut and the auto-start value.
    std::string ExpectedRecord(const std::string& group, bool desktop, bool autoStart) const;
    // Starts the entry's QuietUninstallString as a package manager does, in
    // `directory`, and waits for it; the default log it writes is cleared
    // again when it was not there before (it is the test's, not a leftover).
    windowdriver::RunResult RunQuietUninstall(const std::string& directory);

    static constexpr const char* kReadme = "Read me first.\r\n";
    TempDir setup_, launches_;
    const std::string programFiles_ = ShellFolder(CSIDL_PROGRAM_FILES);
    const std::string programs_ = ShellFolder(CSIDL_COMMON_PROGRAMS);
    std::string install_;
    RegistryKeyGuard uninstallEntry_{kUninstallKey};
};

} // namespace installertest
