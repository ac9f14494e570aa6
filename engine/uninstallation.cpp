#include "uninstallation.h"

#include "install_log.h"
#include "move_aside.h"
#include "path_helpers.h"
#include "process_start.h"
#include "reboot_delete.h"
#include "remove_empty_directories.h"
#include "setup_context.h"
#include "setup_dat.h"

#include <direct.h>

#include <vector>

namespace {

Problem RefuseIfTooLong(const std::string& text, size_t limit) {
    return text.size() <= limit ? Problem() : Problem::Of(ProblemKind::PathTooLong, text);
}

std::string TemporaryDirectory() {
    DWORD needed = ::GetTempPathA(0, nullptr);
    std::vector<char> buffer(needed + 1);
    DWORD length = ::GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length < buffer.size() ? length : 0);
}

// A fresh, empty file in `directory` whose name starts with (up to three
// characters of) `prefix`; empty when none could be made.
std::string MakeTemporaryFile(const std::string& directory, const std::string& prefix) {
    char name[MAX_PATH];
    if (!::GetTempFileNameA(directory.c_str(), prefix.c_str(), 0, name))
        return std::string();
    return name;
}

} // namespace

Problem HandOffToTemporaryCopy(const std::string& installedProgram,
                               const std::string& copyArguments, UniqueKernelHandle* copyProcess) {
    const std::string temporaryDirectory = TemporaryDirectory();
    if (Problem problem = RefuseIfTooLong(temporaryDirectory, kMaxDirectoryPath))
        return problem;
    const std::string programDirectory = ExtractDirectory(installedProgram);
    const std::string copy =
        MakeTemporaryFile(temporaryDirectory, ExtractFileName(installedProgram, false));
    if (copy.empty())
        return Problem::Of(ProblemKind::CannotCreateFile, temporaryDirectory, ::GetLastError());
    if (!::CopyFileA(installedProgram.c_str(), copy.c_str(), FALSE)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileA(copy.c_str()); // the empty placeholder would stay for good
        return Problem::Of(ProblemKind::CannotCreateFile, copy, error);
    }
    // The copy cannot start without the zlib1.dll it imports; should this
    // fail, its start shows the system's own message.
    ::CopyFileA(AppendPath(programDirectory, "zlib1.dll").c_str(),
                AppendPath(ExtractDirectory(copy), "zlib1.dll").c_str(), FALSE);

    const std::string command =
        "\"" + copy + "\" /UNINSTALL \"" + installedProgram + "\"" + copyArguments;
    if (Problem problem = RefuseIfTooLong(command, kMaxHandOffCommand)) {
        ::DeleteFileA(copy.c_str());
        return problem;
    }
    const bool started =
        copyProcess ? static_cast<bool>(*copyProcess = StartOwnedProcess(copy, command.c_str(),
                                                                         programDirectory))
                    : StartDetachedProcess(copy, command.c_str(), programDirectory);
    if (!started)
        return Problem::Of(ProblemKind::CannotStartProgram, copy, ::GetLastError());
    return Problem();
}

Problem RemoveInstallation(const std::string& installedProgram, const std::string& runningCopy,
                           InstallLog* log) {
    const std::string installDirectory = ExtractDirectory(installedProgram);
    if (Problem problem = RefuseIfTooLong(installDirectory, kMaxDirectoryPath))
        return problem;
    const std::string record = AppendPath(installDirectory, RecordFileNameFor(installedProgram));
    Problem recordProblem;
    {
        CSetupDat installation;
        LogLine(log, "Removing the installation recorded in " + record);
        recordProblem = installation.RemoveInstalled(record, log);
    }
    ::DeleteFileA(record.c_str()); // already gone when the record was read
    // The first process waits for this one in a silent uninstallation and so
    // still holds its program: moved aside, it no longer keeps its directory.
    const std::string ownDirectory = ExtractDirectory(runningCopy);
    for (const std::string& file : {installedProgram, AppendPath(installDirectory, "zlib1.dll")}) {
        const bool gone = DeleteFileWhenReleased(file);
        LogLine(log, (gone ? "Removed " : "Scheduled for removal at restart: ") + file);
        if (!gone && MoveAsideForRestart(file, ownDirectory))
            LogLine(log, "Moved aside into " + ownDirectory + " for removal at restart: " + file);
    }

    // The first process started this one inside the install directory.
    _chdir(ownDirectory.c_str());
    RemoveEmptyDirectories(installDirectory);
    LogLine(log, (::GetFileAttributesA(installDirectory.c_str()) == INVALID_FILE_ATTRIBUTES
                      ? "Removed the install directory "
                      : "Left the install directory (not empty, or left to the restart) ") +
                     installDirectory);

    DeleteOnReboot(runningCopy);
    DeleteOnReboot(AppendPath(ownDirectory, "zlib1.dll"));
    return recordProblem;
}
