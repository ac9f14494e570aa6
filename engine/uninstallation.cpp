#include "uninstallation.h"

#include "ansi_text.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "process_start.h"
#include "reboot_delete.h"
#include "removal_scope.h"
#include "remove_empty_directories.h"
#include "setup_context.h"
#include "setup_dat.h"

#include <direct.h>

#include <cstdio>
#include <new>
#include <vector>

namespace {

// A hand-off directory is named after the program, a hyphen and eight
// hexadecimal digits.
constexpr size_t kHandOffDigits = 8;

Problem RefuseIfTooLong(const std::string& text, size_t limit) {
    return text.size() <= limit ? Problem() : Problem::Of(ProblemKind::PathTooLong, text);
}

std::string HandOffName(const std::string& programBaseName, DWORD number) {
    char digits[kHandOffDigits + 1];
    std::snprintf(digits, sizeof digits, "%08lX", static_cast<unsigned long>(number));
    return programBaseName + "-" + digits;
}

// A directory that did not exist before, made by this call: nobody else can
// have put anything in it. Empty when none could be made.
std::string MakeHandOffDirectory(const std::string& temporaryDirectory,
                                 const std::string& programBaseName) {
    DWORD number = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt, ++number) {
        const std::string directory =
            AppendPath(temporaryDirectory, HandOffName(programBaseName, number));
        if (::CreateDirectoryA(directory.c_str(), nullptr))
            return directory;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
    return std::string();
}

// Whether `directory` is one that MakeHandOffDirectory makes.
bool IsHandOffDirectory(const std::string& directory, const std::string& programBaseName) {
    const std::string name = ExtractFileName(directory, true);
    const std::string parent = ExtractDirectory(directory);
    const std::string temporary = TemporaryDirectoryPath();
    return name.size() == programBaseName.size() + 1 + kHandOffDigits &&
           setupcore::EqualsIgnoringAsciiCase(name.substr(0, programBaseName.size() + 1),
                                              programBaseName + "-") &&
           name.find_first_not_of("0123456789ABCDEF", programBaseName.size() + 1) ==
               std::string::npos &&
           setupcore::IsWithin(parent, temporary, IsAnsiLeadByte) &&
           setupcore::IsWithin(temporary, parent, IsAnsiLeadByte);
}

// Copies `from` to `to`, which must not exist yet.
Problem CopyNew(const std::string& from, const std::string& to) {
    if (::CopyFileA(from.c_str(), to.c_str(), TRUE))
        return Problem();
    return Problem::Of(ProblemKind::CannotCreateFile, to, ::GetLastError());
}

Problem PrepareCopy(const std::string& installedProgram, const std::string& directory,
                    std::string& copy) {
    copy = AppendPath(directory, ExtractFileName(installedProgram, true));
    if (Problem problem = CopyNew(installedProgram, copy))
        return problem;
    // The copy cannot start without the zlib1.dll it imports.
    return CopyNew(AppendPath(ExtractDirectory(installedProgram), "zlib1.dll"),
                   AppendPath(directory, "zlib1.dll"));
}

} // namespace

Problem HandOffToTemporaryCopy(const std::string& installedProgram) {
    const std::string temporaryDirectory = TemporaryDirectoryPath();
    if (Problem problem = RefuseIfTooLong(temporaryDirectory, kMaxDirectoryPath))
        return problem;
    const std::string baseName = ExtractFileName(installedProgram, false);
    const std::string directory = MakeHandOffDirectory(temporaryDirectory, baseName);
    if (directory.empty())
        return Problem::Of(ProblemKind::CannotCreateFile,
                           AppendPath(temporaryDirectory, HandOffName(baseName, 0)),
                           ::GetLastError());
    std::string copy;
    Problem problem = PrepareCopy(installedProgram, directory, copy);
    const std::string command = "\"" + copy + "\" /UNINSTALL \"" + installedProgram + "\"";
    if (!problem)
        problem = RefuseIfTooLong(command, kMaxHandOffCommand);
    if (!problem &&
        !StartDetachedProcess(copy, command.c_str(), ExtractDirectory(installedProgram)))
        problem = Problem::Of(ProblemKind::CannotStartProgram, copy, ::GetLastError());
    if (problem) {
        ::DeleteFileA(copy.c_str());
        ::DeleteFileA(AppendPath(directory, "zlib1.dll").c_str());
        ::RemoveDirectoryA(directory.c_str());
    }
    return problem;
}

namespace {

void NoteLeft(Removal removal, const std::string& path, std::vector<ItemLeft>& left) {
    if (removal == Removal::Failed)
        left.push_back({path, ItemOutcome::Failed});
}

// The copy's own files and directory, at the next restart, when it runs from
// a hand-off directory; a program started by hand elsewhere keeps its files.
void ScheduleOwnFiles(const std::string& runningCopy) {
    const std::string ownDirectory = ExtractDirectory(runningCopy);
    if (!IsHandOffDirectory(ownDirectory, ExtractFileName(runningCopy, false)))
        return;
    DeleteOnReboot(runningCopy);
    DeleteOnReboot(AppendPath(ownDirectory, "zlib1.dll"));
    DeleteOnReboot(ownDirectory); // scheduled after its files, so empty by then
}

} // namespace

namespace {

RemovalOutcome RemoveRecordedInstallation(const std::string& installedProgram,
                                          const std::string& runningCopy) {
    RemovalOutcome outcome;
    const std::string installDirectory = ExtractDirectory(installedProgram);
    outcome.problem = RefuseIfTooLong(installDirectory, kMaxDirectoryPath);
    const std::string record = AppendPath(installDirectory, RecordFileNameFor(installedProgram));
    if (!outcome.problem) {
        CSetupDat installation;
        RemovalScope scope(installDirectory);
        outcome.problem = installation.RemoveInstalled(record, scope, outcome.left);
    }
    if (!outcome.problem) {
        NoteLeft(DeleteFileWhenReleased(installedProgram), installedProgram, outcome.left);
        const std::string zlib = AppendPath(installDirectory, "zlib1.dll");
        NoteLeft(DeleteFileWhenReleased(zlib), zlib, outcome.left);
        // The first process started this one inside the install directory.
        _chdir(ExtractDirectory(runningCopy).c_str());
        RemoveEmptyDirectories(installDirectory);
    }
    return outcome;
}

} // namespace

RemovalOutcome RemoveInstallation(const std::string& installedProgram,
                                  const std::string& runningCopy) {
    RemovalOutcome outcome;
    try {
        outcome = RemoveRecordedInstallation(installedProgram, runningCopy);
    } catch (const std::bad_alloc&) {
        outcome.problem = Problem::Of(ProblemKind::NoMemory);
    }
    ScheduleOwnFiles(runningCopy);
    return outcome;
}
