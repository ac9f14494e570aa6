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
#include "crash_moments.h"
#include "journal_store.h"
#include "registry_names.h"
#include "run_journal.h"
#include "run_recovery.h"
#include "hand_off_directory.h"
#include "setup_context.h"

#include <direct.h>

#include <new>
#include <optional>
#include <vector>

namespace {

Problem RefuseIfTooLong(const std::string& text, size_t limit) {
    return text.size() <= limit ? Problem() : Problem::Of(ProblemKind::PathTooLong, text);
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

bool IsPathItem(const setupcore::RecordItem& item) {
    return item.kind == setupcore::ItemKind::FullPathFile ||
           item.kind == setupcore::ItemKind::BareFile ||
           item.kind == setupcore::ItemKind::Directory;
}

bool IsGonePath(const std::string& path) {
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// When an item goes: the uninstall entry after every other item, so that a
// removal that dies midway can be started again from it, and its key before
// its values, since the key goes whole, values and all, at once: the entry
// stands complete or not at all.
enum class RemovalTurn { First, EntryKey, EntryValues };

RemovalTurn TurnOf(const setupcore::RecordItem& item) {
    const std::string base = kUninstallKeyBase;
    const bool underEntries =
        item.parentKey.size() >= base.size() &&
        setupcore::EqualsIgnoringAsciiCase(item.parentKey.substr(0, base.size()), base);
    if (item.kind == setupcore::ItemKind::RegistryKey && underEntries)
        return RemovalTurn::EntryKey;
    if (item.kind == setupcore::ItemKind::RegistryValue && underEntries)
        return RemovalTurn::EntryValues;
    return RemovalTurn::First;
}

void RemoveItem(const setupcore::RecordItem& stored, const setupcore::InstallRecord& record,
                const RemovalScope& scope, std::vector<ItemLeft>& left,
                std::vector<std::string>& scheduled, InstallLog* log) {
    PassMoment();
    const setupcore::RecordItem item = ResolveItem(stored, record.installDir);
    const std::string text = setupcore::EncodeItem(stored);
    // A removal that died midway, started again, finds some paths gone:
    // nothing stands there, so nothing is left, whoever made it.
    if (IsPathItem(item) && IsGonePath(item.path)) {
        LogLine(log, "Already gone: " + item.path);
        return;
    }
    const ItemType* owner = scope.OwnerOf(item);
    const ItemOutcome outcome = owner ? owner->Remove(item) : ItemOutcome::Refused;
    if (outcome == ItemOutcome::Failed || outcome == ItemOutcome::Refused)
        left.push_back({text, outcome});
    if (outcome == ItemOutcome::Scheduled && item.kind != setupcore::ItemKind::Directory)
        scheduled.push_back(item.path);
    LogLine(log, owner ? owner->Describe(item, outcome, text) : DescribeLeftAlone(item, text));
}

// Removes every item of `record` that an installation of ours can have made,
// in the recorded order, each by its own kind, the uninstall entry's last;
// the rest stays and is listed. The program the entry starts and the
// zlib1.dll it needs (`keptForLast`) go after the entry. Files left to the
// restart go to `scheduled`.
void RemoveItems(const setupcore::InstallRecord& record,
                 const std::vector<std::string>& keptForLast, const RemovalScope& scope,
                 std::vector<ItemLeft>& left, std::vector<std::string>& scheduled,
                 InstallLog* log) {
    const auto isKept = [&](const setupcore::RecordItem& stored) {
        const std::string path = ResolveItem(stored, record.installDir).path;
        for (const std::string& kept : keptForLast)
            if (setupcore::IsSamePath(path, kept, IsAnsiLeadByte))
                return true;
        return false;
    };
    for (const RemovalTurn turn :
         {RemovalTurn::First, RemovalTurn::EntryKey, RemovalTurn::EntryValues})
        for (const setupcore::RecordItem& stored : record.items)
            if (TurnOf(stored) == turn && !isKept(stored))
                RemoveItem(stored, record, scope, left, scheduled, log);
}

// A file of the installation's own that no record names (the record, its
// made list).
void RemoveOwnFile(const std::string& path, std::vector<ItemLeft>& left,
                   std::vector<std::string>& scheduled) {
    PassMoment();
    const Removal removal = DeleteFileNowOrAtRestart(path);
    if (removal == Removal::Failed)
        left.push_back({path, ItemOutcome::Failed});
    if (removal == Removal::Scheduled)
        scheduled.push_back(path);
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

// The uninstallation's journal: the program the entry starts, and the
// folders that go last, for a run that finds the record gone already.
Problem StartJournal(const std::string& product, const std::string& program,
                     const std::vector<std::string>& folders) {
    setupcore::RunJournal journal;
    journal.op = setupcore::JournalOp::Uninstall;
    journal.product = product;
    journal.place = program;
    for (const std::string& folder : folders) {
        setupcore::JournalStep step;
        step.kind = setupcore::StepKind::Directory;
        step.path = folder;
        journal.steps.push_back(step);
    }
    PassMoment();
    return WriteJournal(product, setupcore::EncodeJournal(journal))
               ? Problem()
               : Problem::Of(ProblemKind::CannotCreateFile,
                             std::string("HKEY_CURRENT_USER\\") + kJournalKey, ::GetLastError());
}

struct RecordedInstallation {
    std::string record, madeListPath;
    std::optional<MadeList> madeList;
    setupcore::InstallRecord installation;
};

Problem ReadRecorded(const std::string& installDirectory, const std::string& recordName,
                     RecordedInstallation& recorded) {
    recorded.record = AppendPath(installDirectory, recordName);
    recorded.madeListPath = AppendPath(installDirectory, setupcore::MadeListFileName(recordName));
    if (Problem problem = ReadMadeList(recorded.madeListPath, recorded.madeList))
        return problem;
    return ReadInstallRecord(recorded.record, recorded.installation);
}

RemovalOutcome RemoveRecordedInstallation(const std::string& installedProgram,
                                          const std::string& runningCopy, InstallLog* log) {
    RemovalOutcome outcome;
    std::string program, installDirectory;
    if ((outcome.problem = InstallDirectoryOf(installedProgram, program, installDirectory)))
        return outcome;
    const std::string recordName = RecordFileNameFor(program);
    // One run of the product at a time. A run that died midway journalled it
    // by its name, and is put right before the record is read: the record
    // may be the dead run's, or stand aside. Else the entry names the
    // product, and without one, its directory.
    ProductRunLock lock;
    std::string product = JournalledProductIn(installDirectory);
    if (!product.empty()) {
        if (!lock.Take(product, 0)) {
            outcome.problem = Problem::Of(ProblemKind::AnotherRunActive, product);
            return outcome;
        }
        RecoverInterruptedRun(product, runningCopy, program, log);
    }
    RecordedInstallation recorded;
    if ((outcome.problem = ReadRecorded(installDirectory, recordName, recorded)))
        return outcome;
    if (product.empty()) {
        const std::string entry = UninstallEntryNameOf(recorded.installation);
        product = entry.empty() ? installDirectory : entry;
        if (!lock.Take(product, 0)) {
            outcome.problem = Problem::Of(ProblemKind::AnotherRunActive, product);
            return outcome;
        }
    }
    const setupcore::InstallRecord& installation = recorded.installation;
    RemovalScope scope(installDirectory);
    if (recorded.madeList)
        scope.AllowWindowsFiles(CanonicalPaths(recorded.madeList->windowsFiles));
    if (recorded.madeList && recorded.madeList->perUser)
        scope.LimitToTheUser();
    scope.Prepare(installation);
    const std::vector<std::string> folders =
        FoldersMade(recorded.madeList, installation, installDirectory, outcome.left);
    if ((outcome.problem = StartJournal(product, program, folders)))
        return outcome;
    LogLine(log, "Removing the installation recorded in " + recorded.record);
    std::vector<std::string> scheduled;
    // The entry, then the program it starts, the record and the folders go
    // last: a removal that dies midway can be started again from the entry.
    const std::string zlib = AppendPath(installDirectory, "zlib1.dll");
    RemoveItems(installation, {program, zlib}, scope, outcome.left, scheduled, log);
    RemoveProgramFile(program, runningCopy, outcome.left, scheduled, log);
    RemoveProgramFile(zlib, runningCopy, outcome.left, scheduled, log);
    // The record before its made list: a removal that dies between the two
    // is finished from the journal, which names the folders.
    RemoveOwnFile(recorded.record, outcome.left, scheduled);
    if (recorded.madeList)
        RemoveOwnFile(recorded.madeListPath, outcome.left, scheduled);
    // The first process started this one inside the install directory.
    _chdir(ExtractDirectory(runningCopy).c_str());
    RemoveMadeFolders(folders, scope, outcome.left, log);
    LogLine(log, (::GetFileAttributesA(installDirectory.c_str()) == INVALID_FILE_ATTRIBUTES
                      ? "Removed the install directory "
                      : "Left the install directory (not empty, or left to the restart) ") +
                     installDirectory);
    outcome.restartPending = AnyStillThere(scheduled);
    ClearJournal(product);
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
