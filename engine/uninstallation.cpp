#include "uninstallation.h"

#include "ansi_text.h"
#include "install_log.h"
#include "move_aside.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "process_start.h"
#include "reboot_delete.h"
#include "made_folders.h"
#include "made_list.h"
#include "record_item.h"
#include "removal_scope.h"
#include "run_lock.h"
#include "install_record_file.h"
#include "item_type.h"
#include "setup_context.h"

#include <direct.h>

#include <cstdio>
#include <new>
#include <optional>
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
    const setupcore::CanonicalPath parent = CanonicalPathOf(ExtractDirectory(directory));
    const setupcore::CanonicalPath temporary = CanonicalPathOf(TemporaryDirectoryPath());
    return parent && temporary && name.size() == programBaseName.size() + 1 + kHandOffDigits &&
           setupcore::EqualsIgnoringAsciiCase(name.substr(0, programBaseName.size() + 1),
                                              programBaseName + "-") &&
           name.find_first_not_of("0123456789ABCDEF", programBaseName.size() + 1) ==
               std::string::npos &&
           setupcore::IsSamePath(parent.path, temporary.path, IsAnsiLeadByte);
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

bool StartCopy(const std::string& copy, const std::string& command, const std::string& directory,
               UniqueKernelHandle* copyProcess) {
    if (!copyProcess)
        return StartDetachedProcess(copy, command.c_str(), directory);
    *copyProcess = StartOwnedProcess(copy, command.c_str(), directory);
    return static_cast<bool>(*copyProcess);
}

} // namespace

Problem HandOffToTemporaryCopy(const std::string& installedProgram,
                               const std::string& copyArguments, UniqueKernelHandle* copyProcess) {
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
    const std::string command =
        "\"" + copy + "\" /UNINSTALL \"" + installedProgram + "\"" + copyArguments;
    if (!problem)
        problem = RefuseIfTooLong(command, kMaxHandOffCommand);
    if (!problem && !StartCopy(copy, command, ExtractDirectory(installedProgram), copyProcess))
        problem = Problem::Of(ProblemKind::CannotStartProgram, copy, ::GetLastError());
    if (problem) {
        ::DeleteFileA(copy.c_str());
        ::DeleteFileA(AppendPath(directory, "zlib1.dll").c_str());
        ::RemoveDirectoryA(directory.c_str());
    }
    return problem;
}

namespace {

// The copy runs from a directory that the hand-off made for it.
bool RunsFromHandOff(const std::string& runningCopy) {
    return IsHandOffDirectory(ExtractDirectory(runningCopy), ExtractFileName(runningCopy, false));
}

// The installed program and its zlib1.dll. The first process waits for this
// one in a silent uninstallation and so still holds its program: moved aside
// into this copy's hand-off directory, it no longer keeps its own directory.
// A copy started by hand anywhere else moves nothing there.
void RemoveProgramFile(const std::string& file, const std::string& runningCopy,
                       std::vector<ItemLeft>& left, std::vector<std::string>& scheduled,
                       InstallLog* log) {
    const Removal removal = DeleteFileWhenReleased(file);
    if (removal == Removal::Removed) {
        LogLine(log, "Removed " + file);
        return;
    }
    const std::string ownDirectory = ExtractDirectory(runningCopy);
    if (RunsFromHandOff(runningCopy) && MoveAsideForRestart(file, ownDirectory)) {
        LogLine(log, "Moved aside into " + ownDirectory + " for removal at restart: " + file);
        return;
    }
    LogLine(log, (removal == Removal::Scheduled ? "Scheduled for removal at restart: "
                                                : "Could not remove: ") +
                     file);
    if (removal == Removal::Failed)
        left.push_back({file, ItemOutcome::Failed});
    else
        scheduled.push_back(file);
}

// Whether any of the files left to the restart is still where it was: one
// scheduled while the waiting program held it may have been moved aside since.
bool AnyStillThere(const std::vector<std::string>& files) {
    for (const std::string& file : files)
        if (::GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
    return false;
}

// The copy's own files and directory, at the next restart, when it runs from
// a hand-off directory; a program started by hand elsewhere keeps its files.
void ScheduleOwnFiles(const std::string& runningCopy) {
    if (!RunsFromHandOff(runningCopy))
        return;
    const std::string ownDirectory = ExtractDirectory(runningCopy);
    DeleteOnReboot(runningCopy);
    DeleteOnReboot(AppendPath(ownDirectory, "zlib1.dll"));
    DeleteOnReboot(ownDirectory); // scheduled after its files, so empty by then
}

// The folders the installation made, as its made list names them (any not
// in canonical form is refused and listed), or for an installation made
// before the list was kept, the folders on the way to its recorded paths.
std::vector<std::string> FoldersMade(const std::optional<MadeList>& list,
                                     const setupcore::InstallRecord& record,
                                     const std::string& installDirectory,
                                     std::vector<ItemLeft>& left) {
    std::vector<std::string> folders;
    if (!list) {
        std::vector<std::string> paths;
        for (const setupcore::RecordItem& item : record.items)
            paths.push_back(ResolveItem(item, record.installDir).path);
        return FoldersOnTheWay(installDirectory, paths);
    }
    for (const std::string& folder : list->folders) {
        const setupcore::CanonicalPath canonical = CanonicalPathOf(folder);
        if (canonical)
            folders.push_back(canonical.path);
        else
            left.push_back({folder + "\\", ItemOutcome::Refused});
    }
    return folders;
}

// Removes every item of `record` that an installation of ours can have made,
// in the recorded order, each by its own kind; the rest stays and is listed.
// The record itself is no item of anyone's making: it goes last, always.
// Files left to the restart (items and the record) go to `scheduled`.
void RemoveItems(const setupcore::InstallRecord& record, const std::string& recordPath,
                 const RemovalScope& scope, std::vector<ItemLeft>& left,
                 std::vector<std::string>& scheduled, InstallLog* log) {
    for (const setupcore::RecordItem& stored : record.items) {
        const setupcore::RecordItem item = ResolveItem(stored, record.installDir);
        const std::string text = setupcore::EncodeItem(stored);
        const ItemType* owner = scope.OwnerOf(item);
        const ItemOutcome outcome = owner ? owner->Remove(item) : ItemOutcome::Refused;
        if (outcome == ItemOutcome::Failed || outcome == ItemOutcome::Refused)
            left.push_back({text, outcome});
        if (outcome == ItemOutcome::Scheduled && item.kind != setupcore::ItemKind::Directory)
            scheduled.push_back(item.path);
        LogLine(log, owner ? owner->Describe(item, outcome, text) : DescribeLeftAlone(item, text));
    }
    const Removal removal = DeleteFileNowOrAtRestart(recordPath);
    if (removal == Removal::Failed)
        left.push_back({recordPath, ItemOutcome::Failed});
    if (removal == Removal::Scheduled)
        scheduled.push_back(recordPath);
}

Problem InstallDirectoryOf(const std::string& installedProgram, std::string& program,
                           std::string& directory) {
    const setupcore::CanonicalPath canonicalProgram = CanonicalPathOf(installedProgram);
    const setupcore::CanonicalPath canonicalDirectory =
        canonicalProgram ? CanonicalPathOf(ExtractDirectory(canonicalProgram.path))
                         : setupcore::CanonicalPath();
    if (!canonicalDirectory)
        return Problem::Of(ProblemKind::CannotOpenRecord, installedProgram);
    program = canonicalProgram.path;
    directory = canonicalDirectory.path;
    return RefuseIfTooLong(directory, kMaxDirectoryPath);
}

RemovalOutcome RemoveRecordedInstallation(const std::string& installedProgram,
                                          const std::string& runningCopy, InstallLog* log) {
    RemovalOutcome outcome;
    std::string program, installDirectory;
    if ((outcome.problem = InstallDirectoryOf(installedProgram, program, installDirectory)))
        return outcome;
    const std::string recordName = RecordFileNameFor(program);
    const std::string record = AppendPath(installDirectory, recordName);
    const std::string madeListPath =
        AppendPath(installDirectory, setupcore::MadeListFileName(recordName));
    std::optional<MadeList> madeList;
    if ((outcome.problem = ReadMadeList(madeListPath, madeList)))
        return outcome;
    setupcore::InstallRecord installation;
    if ((outcome.problem = ReadInstallRecord(record, installation)))
        return outcome;
    // One run of the product at a time; without an entry, its directory names it.
    const std::string product = UninstallEntryNameOf(installation);
    ProductRunLock lock;
    if (!lock.Take(product.empty() ? installDirectory : product, 0)) {
        outcome.problem = Problem::Of(ProblemKind::AnotherRunActive,
                                      product.empty() ? installDirectory : product);
        return outcome;
    }
    RemovalScope scope(installDirectory);
    if (madeList)
        scope.AllowWindowsFiles(CanonicalPaths(madeList->windowsFiles));
    if (madeList && madeList->perUser)
        scope.LimitToTheUser();
    scope.Prepare(installation);
    LogLine(log, "Removing the installation recorded in " + record);
    std::vector<std::string> scheduled;
    RemoveItems(installation, record, scope, outcome.left, scheduled, log);
    RemoveProgramFile(program, runningCopy, outcome.left, scheduled, log);
    RemoveProgramFile(AppendPath(installDirectory, "zlib1.dll"), runningCopy, outcome.left,
                      scheduled, log);
    const Removal madeListRemoval =
        madeList ? DeleteFileNowOrAtRestart(madeListPath) : Removal::Removed;
    if (madeListRemoval == Removal::Failed)
        outcome.left.push_back({madeListPath, ItemOutcome::Failed});
    if (madeListRemoval == Removal::Scheduled)
        scheduled.push_back(madeListPath);
    // The first process started this one inside the install directory.
    _chdir(ExtractDirectory(runningCopy).c_str());
    RemoveMadeFolders(FoldersMade(madeList, installation, installDirectory, outcome.left), scope,
                      outcome.left, log);
    LogLine(log, (::GetFileAttributesA(installDirectory.c_str()) == INVALID_FILE_ATTRIBUTES
                      ? "Removed the install directory "
                      : "Left the install directory (not empty, or left to the restart) ") +
                     installDirectory);
    outcome.restartPending = AnyStillThere(scheduled);
    return outcome;
}

} // namespace

RemovalOutcome RemoveInstallation(const std::string& installedProgram,
                                  const std::string& runningCopy, InstallLog* log) {
    RemovalOutcome outcome;
    try {
        outcome = RemoveRecordedInstallation(installedProgram, runningCopy, log);
    } catch (const std::bad_alloc&) {
        outcome.problem = Problem::Of(ProblemKind::NoMemory);
    }
    ScheduleOwnFiles(runningCopy);
    return outcome;
}
