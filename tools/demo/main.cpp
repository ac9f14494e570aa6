// demo_driver: installs a package and uninstalls it again as a user would,
// for scripts/demo.sh. It photographs every window it answers, and prints
// what the installation put on the machine and what the uninstallation left.
//
//     demo_driver SETUP-DIRECTORY SCREENSHOT-DIRECTORY [SILENT-SETUP-DIRECTORY
//                 [UPDATE-SETUP-DIRECTORY]]
//
// With a second copy of the package, it then installs that one silently into
// another directory and removes it through QuietUninstallString; with a
// second version of the package, it installs that over the silent copy first
// and prints what changed.
//
// Exit status: 0 when every step went as a user would expect, 1 when one did
// not (the output says which), 2 for a wrong command line.
#include "installation_report.h"
#include "installer_run.h"
#include "leftovers_report.h"
#include "package_index.h"
#include "path_text.h"
#include "pending_deletions.h"
#include "program_windows.h"
#include "registry_values.h"
#include "silent_round.h"
#include "uninstaller_run.h"

#include <windows.h>

#include <fstream>
#include <iostream>
#include <iterator>

namespace {

const char kUninstallKeyBase[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

bool ReadPackageIndex(const std::string& path, setupcore::PackageIndex& index) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const setupcore::IndexParseResult parsed =
        setupcore::ParsePackageIndex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    index = parsed.index;
    return parsed.Ok();
}

// The name the installer shows the program by, in its uninstall entry and
// its shortcuts: the folder name's last part, without an extension.
std::string DisplayName(const setupcore::PackageIndex& index) {
    return setupcore::FileNamePart(index.folderName, false, setupcore::NoLeadBytes);
}

void PrintPackage(const std::string& setupDirectory, const setupcore::PackageIndex& index) {
    std::cout << "== package " << setupDirectory << std::endl
              << "   program " << index.appExe << ", folder \"" << index.folderName
              << "\", post-install \"" << index.postInstall << "\", " << index.files.size()
              << " files:";
    for (const setupcore::PackagedFile& file : index.files)
        std::cout << " " << file.name;
    std::cout << std::endl;
}

struct DemoRun {
    std::string setupDirectory;
    Screenshots shots;
    setupcore::PackageIndex package;
    Installation installation;
};

bool Install(DemoRun& demo) {
    std::cout << "== installer" << std::endl;
    const std::vector<PendingOperation> before = PendingRestartOperations();
    const InstallerRun run = RunInstaller(demo.setupDirectory + "\\Setup.exe", demo.shots);
    if (!run.completed)
        return false;
    ReportSetupDirectory(demo.setupDirectory);
    ReportScheduledDeletions(AddedOperations(before, PendingRestartOperations()));
    // Both the post-install run and the launched program show the program's
    // name; closed, they leave no installed file in use.
    const size_t windows = (demo.package.postInstall.empty() ? 0 : 1) + (run.launchTicked ? 1 : 0);
    CloseProgramWindows(DisplayName(demo.package), windows, demo.shots);
    demo.installation.installDir = run.installDir;
    demo.installation.uninstallKey = kUninstallKeyBase + DisplayName(demo.package);
    std::cout << "== installed" << std::endl;
    return ReportInstallation(demo.installation);
}

bool Uninstall(DemoRun& demo) {
    const std::string command =
        ReadString(HKEY_CURRENT_USER, demo.installation.uninstallKey, "UninstallString");
    std::cout << "== uninstaller: " << command << std::endl;
    if (command.empty()) {
        std::cout << "   no UninstallString recorded" << std::endl;
        return false;
    }
    const std::vector<PendingOperation> before = PendingRestartOperations();
    const UninstallerRun run = RunUninstaller(command, demo.shots);
    std::cout << "== left behind" << std::endl;
    const bool clean =
        ReportLeftovers(demo.installation, AddedOperations(before, PendingRestartOperations()));
    return run.completed && clean;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::cerr << "usage: demo_driver SETUP-DIRECTORY SCREENSHOT-DIRECTORY "
                     "[SILENT-SETUP-DIRECTORY [UPDATE-SETUP-DIRECTORY]]"
                  << std::endl;
        return 2;
    }
    DemoRun demo{argv[1], Screenshots(argv[2]), {}, {}};
    if (!ReadPackageIndex(demo.setupDirectory + "\\Setup.dat", demo.package)) {
        std::cout << "no readable package index in " << demo.setupDirectory << std::endl;
        return 1;
    }
    PrintPackage(demo.setupDirectory, demo.package);
    if (!Install(demo) || !Uninstall(demo))
        return 1;
    if (argc == 3)
        return 0;
    const SilentRound round{argv[3], argc == 5 ? argv[4] : "",
                            "C:\\Program Files\\" + DisplayName(demo.package) + " Silent",
                            demo.installation.uninstallKey, DisplayName(demo.package)};
    return RunSilentRound(round, demo.shots) ? 0 : 1;
}
