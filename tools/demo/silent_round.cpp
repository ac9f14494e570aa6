#include "silent_round.h"

#include "file_listing.h"
#include "installation_report.h"
#include "leftovers_report.h"
#include "path_helpers.h"
#include "pending_deletions.h"
#include "program_windows.h"
#include "registry_values.h"
#include "window_driver.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <vector>

namespace {

constexpr DWORD kRunMilliseconds = 60000;
constexpr size_t kLogLinesShown = 6;

void PrintLogTail(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    std::cout << "   last lines of " << path << ":" << std::endl;
    const size_t first = lines.size() > kLogLinesShown ? lines.size() - kLogLinesShown : 0;
    for (size_t i = first; i < lines.size(); ++i)
        std::cout << "     " << lines[i] << std::endl;
}

// The program of a command line: its first argument, quoted or not.
std::string ProgramOf(const std::string& command) {
    if (!command.empty() && command[0] == '"')
        return command.substr(1, command.find('"', 1) - 1);
    return command.substr(0, command.find(' '));
}

// Runs `command` to its end as a script would, watching that it shows no
// window; true when it ended by itself with exit code 0 and showed none.
bool RunUnattended(const std::string& command, const std::string& directory) {
    std::cout << "   " << command << std::endl;
    windowdriver::RunOptions options;
    options.timeoutMilliseconds = kRunMilliseconds;
    const windowdriver::RunResult run =
        windowdriver::RunAnsweringMessageBoxes(ProgramOf(command), command, directory, options);
    const bool windowless = run.boxes.empty() && !run.otherWindowSeen;
    std::cout << "   exit code " << (run.exited ? std::to_string(run.exitCode) : "none (killed)")
              << (windowless ? ", no window shown" : ", a window was shown:") << std::endl;
    if (!windowless)
        std::cout << run.Describe() << std::endl;
    return run.exited && run.exitCode == 0 && windowless;
}

std::vector<std::string> FileNames(const std::string& directory) {
    std::vector<std::string> names;
    for (const ListedFile& file : ListFiles(directory))
        if (!file.directory)
            names.push_back(file.relativePath);
    return names;
}

void PrintDifference(const char* label, const std::vector<std::string>& from,
                     const std::vector<std::string>& to) {
    for (const std::string& name : from)
        if (std::find(to.begin(), to.end(), name) == to.end())
            std::cout << "   " << label << " " << name << std::endl;
}

// The second version installed over the first without options: it lands in
// the same directory with the same choices and leaves nothing of the first.
bool Update(const SilentRound& round, Screenshots& shots) {
    std::cout << "== update: the second version installed over the first, silently" << std::endl;
    const std::string before = ReadString(HKEY_CURRENT_USER, round.uninstallKey, "DisplayVersion");
    const std::vector<std::string> filesBefore = FileNames(round.installDir);
    const std::string log = round.updateDirectory + "\\update.log";
    const bool updated =
        RunUnattended("\"" + round.updateDirectory + "\\Setup.exe\" /S \"/LOG=" + log + "\"",
                      round.updateDirectory);
    PrintLogTail(log);
    CloseProgramWindows(round.displayName, 1, shots);
    const std::vector<std::string> filesAfter = FileNames(round.installDir);
    std::cout << "== what changed" << std::endl
              << "   DisplayVersion " << before << " -> "
              << ReadString(HKEY_CURRENT_USER, round.uninstallKey, "DisplayVersion")
              << ", Publisher " << ReadString(HKEY_CURRENT_USER, round.uninstallKey, "Publisher")
              << ", InstallLocation "
              << ReadString(HKEY_CURRENT_USER, round.uninstallKey, "InstallLocation") << std::endl;
    PrintDifference("removed:", filesBefore, filesAfter);
    PrintDifference("added:  ", filesAfter, filesBefore);
    return updated;
}

// The lines in which a run tells how it put an earlier, interrupted run right.
void PrintRecovery(const std::string& path) {
    std::ifstream file(path);
    int undone = 0;
    for (std::string line; std::getline(file, line);) {
        line = line.substr(0, line.find_last_not_of('\r') + 1);
        if (line.find("interrupted") != std::string::npos)
            std::cout << "   " << line << std::endl;
        else if (line.find("Removed: ") != std::string::npos ||
                 line.find("Put back") != std::string::npos)
            ++undone;
    }
    std::cout << "   (" << undone << " files, folders and values put back or removed)" << std::endl;
}

// A first installation ended at once midway, as a power cut or Task Manager
// ends it: the program's own test hook ends it at one of its moments.
void Interrupt(const SilentRound& round, const std::string& setup) {
    std::cout << "== an installation ended midway, as a power cut would end it" << std::endl;
    constexpr char kMoment[] = "12";
    ::SetEnvironmentVariableA("KESTREL_SETUP_END_AT", kMoment);
    windowdriver::RunOptions options;
    options.timeoutMilliseconds = kRunMilliseconds;
    const std::string command = "\"" + setup + "\" /S \"/D=" + round.installDir +
                                "\" \"/LOG=" + round.setupDirectory + "\\interrupted.log\"";
    const windowdriver::RunResult run =
        windowdriver::RunAnsweringMessageBoxes(setup, command, round.setupDirectory, options);
    ::SetEnvironmentVariableA("KESTREL_SETUP_END_AT", nullptr);
    std::cout << "   " << command << std::endl
              << "   ended at its moment " << kMoment << " (exit code " << run.exitCode << "); "
              << FileNames(round.installDir).size() << " files stand in " << round.installDir
              << ", with no record of them" << std::endl;
}

} // namespace

bool RunSilentRound(const SilentRound& round, Screenshots& shots) {
    const std::string log = round.setupDirectory + "\\silent-install.log";
    const std::string setup = round.setupDirectory + "\\Setup.exe";
    Interrupt(round, setup);
    std::cout << "== silent installer: first it puts the interrupted installation right"
              << std::endl;
    const bool installed =
        RunUnattended("\"" + setup + "\" /S \"/D=" + round.installDir + "\" \"/LOG=" + log + "\"",
                      round.setupDirectory);
    PrintRecovery(log);
    PrintLogTail(log);
    // The package's post-install program still greets; closed, it leaves no
    // installed file in use.
    CloseProgramWindows(round.displayName, 1, shots);
    Installation installation{round.installDir, round.uninstallKey, {}};
    std::cout << "== installed silently" << std::endl;
    if (!installed || !ReportInstallation(installation))
        return false;

    if (!round.updateDirectory.empty() && !Update(round, shots))
        return false;
    const std::string quiet =
        ReadString(HKEY_CURRENT_USER, round.uninstallKey, "QuietUninstallString");
    std::cout << "== silent uninstaller (QuietUninstallString)" << std::endl;
    if (quiet.empty()) {
        std::cout << "   no QuietUninstallString recorded" << std::endl;
        return false;
    }
    const std::vector<PendingOperation> before = PendingRestartOperations();
    const bool removed = RunUnattended(quiet, TemporaryDirectoryPath());
    PrintLogTail(TemporaryDirectoryPath() + "Setup.log");
    std::cout << "== left behind, looked at as soon as the command ended" << std::endl;
    const bool clean =
        ReportLeftovers(installation, AddedOperations(before, PendingRestartOperations()));
    return removed && clean;
}
