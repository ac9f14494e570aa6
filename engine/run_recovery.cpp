#include "run_recovery.h"

#include "ansi_text.h"
#include "earlier_version_removal.h"
#include "install_directory_rule.h"
#include "item_type.h"
#include "registry_names.h"
#include "made_folders.h"
#include "removal_scope.h"
#include "setup_context.h"
#include "install_log.h"
#include "journal_store.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "path_text.h"
#include "reboot_delete.h"
#include "reg_key_holder.h"
#include "run_journal.h"
#include "run_lock.h"
#include "uninstallation.h"

#include <windows.h>

#include <unordered_map>

namespace {

using setupcore::JournalStep;
using setupcore::RunJournal;
using setupcore::StepKind;

bool Stands(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFile(const std::string& path, InstallLog* log) {
    if (Stands(path))
        LogLine(log, (::DeleteFileA(path.c_str()) ? "Removed: " : "Could not remove: ") + path);
}

std::string Folded(std::string path) {
    for (char& c : path)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return path;
}

// What the journal says of one file: the first step on it (new, or
// replacing what stood) and how many there were, each with a successor name.
struct FileHistory {
    size_t first = 0;
    StepKind firstKind = StepKind::NewFile;
    int steps = 0;
};

std::unordered_map<std::string, FileHistory> FileHistories(const RunJournal& journal) {
    std::unordered_map<std::string, FileHistory> histories;
    for (size_t i = 0; i < journal.steps.size(); ++i) {
        const JournalStep& step = journal.steps[i];
        if (step.kind != StepKind::NewFile && step.kind != StepKind::ReplacedFile)
            continue;
        auto known = histories.find(Folded(step.path));
        if (known == histories.end())
            known = histories.emplace(Folded(step.path), FileHistory{i, step.kind, 0}).first;
        ++known->second.steps;
    }
    return histories;
}

// The journal lies where any program of the user's could have written it:
// the next run acts only on what a run of ours can have made, as the
// uninstaller does. Paths must be canonical and lie where an installation
// into the journal's directory puts things; registry steps must be the
// uninstall entries' or the auto-start value's.
class RecoveryScope {
public:
    explicit RecoveryScope(const std::string& installDir) : scope_(installDir) {
        scope_.Prepare(setupcore::InstallRecord{installDir, {}});
    }
    bool AllowsFile(const std::string& path) const {
        return setupcore::IsCanonical(path, IsAnsiLeadByte) &&
               scope_.Allows(setupcore::RecordItem::ForPath(path, IsAnsiLeadByte));
    }
    bool AllowsFolder(const std::string& path) const {
        return setupcore::IsCanonical(path, IsAnsiLeadByte) && scope_.AllowsMadeFolder(path);
    }
    // The run key itself, or below the uninstall entries' parent.
    static bool AllowsKey(const std::string& key) {
        return StartsWith(key, kUninstallKeyBase) || IsRunKey(key);
    }
    // In the run key, only the auto-start value of ours.
    static bool AllowsValue(const std::string& key, const std::string& name) {
        return StartsWith(key, kUninstallKeyBase) ||
               (IsRunKey(key) && setupcore::EqualsIgnoringAsciiCase(name, kRunValue));
    }

private:
    static bool IsRunKey(const std::string& key) {
        const std::string run = kRunKey;
        return setupcore::EqualsIgnoringAsciiCase(key, run.substr(0, run.size() - 1));
    }
    static bool StartsWith(const std::string& text, const std::string& start) {
        return text.size() > start.size() &&
               setupcore::EqualsIgnoringAsciiCase(text.substr(0, start.size()), start);
    }
    RemovalScope scope_;
};

void RemoveSuccessors(const std::string& path, const FileHistory& history, InstallLog* log) {
    RemoveFile(setupcore::PartName(path), log);
    for (int occurrence = 0; occurrence < history.steps; ++occurrence)
        RemoveFile(setupcore::SuccessorName(path, occurrence), log);
}

// The old file back under its name. A program that runs (the installed
// uninstaller that started this run, say) cannot be replaced, but it can be
// renamed: it steps aside and goes at the restart.
bool PutBack(const std::string& aside, const std::string& path) {
    if (::MoveFileExA(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    const std::string gone = path + ".kst-gone";
    if (!::MoveFileExA(path.c_str(), gone.c_str(), MOVEFILE_REPLACE_EXISTING))
        return false;
    if (!::MoveFileExA(aside.c_str(), path.c_str(), 0)) {
        ::MoveFileExA(gone.c_str(), path.c_str(), 0);
        return false;
    }
    DeleteFileNowOrAtRestart(gone);
    return true;
}

// The file as it was before the run: the old file back from where it waited,
// or, when there was none, whatever the run wrote gone.
void UndoFile(const std::string& path, const FileHistory& history, InstallLog* log) {
    RemoveSuccessors(path, history, log);
    const std::string aside = setupcore::AsideName(path);
    if (history.firstKind == StepKind::NewFile) {
        RemoveFile(aside, log); // this run's own earlier bytes
        RemoveFile(path, log);
    } else if (Stands(aside)) {
        LogLine(log, (PutBack(aside, path) ? "Put back: " : "Could not put back: ") + path);
    }
}

void UndoValue(const JournalStep& step, InstallLog* log) {
    CRegKeyHolder key;
    if (key.Open(HKEY_CURRENT_USER, step.path.c_str(), KEY_SET_VALUE) != ERROR_SUCCESS)
        return; // the key is gone, and the value with it
    const LONG result = step.existed
                            ? ::RegSetValueExA(key.m_hKey, step.name.c_str(), 0, step.type,
                                               reinterpret_cast<const BYTE*>(step.data.data()),
                                               static_cast<DWORD>(step.data.size()))
                            : ::RegDeleteValueA(key.m_hKey, step.name.c_str());
    if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND)
        LogLine(log,
                (step.existed ? "Put back the registry value " : "Removed the registry value ") +
                    step.path + "\\" + step.name);
}

void UndoKey(const JournalStep& step, InstallLog* log) {
    DWORD subkeys = 1, values = 1;
    {
        CRegKeyHolder key;
        if (key.Open(HKEY_CURRENT_USER, step.path.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
            return;
        ::RegQueryInfoKeyA(key.m_hKey, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                           &values, nullptr, nullptr, nullptr, nullptr);
    }
    // Made by the run, and its values undone by now: anything else in it is someone else's.
    if (subkeys == 0 && values == 0 &&
        ::RegDeleteKeyA(HKEY_CURRENT_USER, step.path.c_str()) == ERROR_SUCCESS)
        LogLine(log, "Removed the registry key " + step.path);
}

void LeaveAlone(const std::string& what, InstallLog* log) {
    LogLine(log, "Left alone (not where a run of ours makes anything): " + what);
}

// Last step first, as the run itself undoes what it did.
void UndoInstall(const RunJournal& journal, const RecoveryScope& scope, InstallLog* log) {
    const auto histories = FileHistories(journal);
    for (size_t i = journal.steps.size(); i-- > 0;) {
        const JournalStep& step = journal.steps[i];
        switch (step.kind) {
        case StepKind::NewFile:
        case StepKind::ReplacedFile: {
            const FileHistory& history = histories.at(Folded(step.path));
            if (history.first != i)
                break;
            if (scope.AllowsFile(step.path))
                UndoFile(step.path, history, log);
            else
                LeaveAlone(step.path, log);
            break;
        }
        case StepKind::Directory:
            if (!scope.AllowsFolder(step.path))
                LeaveAlone(step.path, log);
            else if (::RemoveDirectoryA(step.path.c_str()))
                LogLine(log, "Removed: " + step.path);
            break;
        case StepKind::RegistryValue:
        case StepKind::RegistryKey:
            if (step.kind == StepKind::RegistryValue
                    ? !RecoveryScope::AllowsValue(step.path, step.name)
                    : !RecoveryScope::AllowsKey(step.path))
                LeaveAlone("HKEY_CURRENT_USER\\" + step.path, log);
            else if (step.kind == StepKind::RegistryValue)
                UndoValue(step, log);
            else
                UndoKey(step, log);
            break;
        default:
            break;
        }
    }
}

// The installation stood: the old files it set aside go, and what the
// earlier version left.
void FinishInstall(const RunJournal& journal, const RecoveryScope& scope, InstallLog* log) {
    for (const auto& [folded, history] : FileHistories(journal)) {
        const std::string& path = journal.steps[history.first].path;
        if (!scope.AllowsFile(path)) {
            LeaveAlone(path, log);
            continue;
        }
        RemoveSuccessors(path, history, log);
        const std::string aside = setupcore::AsideName(path);
        if (Stands(aside))
            LogLine(log, (DeleteFileNowOrAtRestart(aside) == Removal::Failed ? "Could not remove: "
                                                                             : "Removed: ") +
                             aside);
    }
    FinishEarlierRemoval(journal, log);
}

// An uninstallation that died after the record went: what is left is its
// made list and the folders, which the journal names; each only where an
// installation makes folders, and only once empty.
void FinishRemovalWithoutRecord(const RunJournal& journal, InstallLog* log) {
    const setupcore::CanonicalPath program = CanonicalPathOf(journal.place);
    const setupcore::CanonicalPath directory =
        program ? CanonicalPathOf(ExtractDirectory(program.path)) : setupcore::CanonicalPath();
    if (!directory)
        return;
    RemoveFile(
        AppendPath(directory.path, setupcore::MadeListFileName(RecordFileNameFor(program.path))),
        log);
    std::vector<std::string> folders;
    for (const JournalStep& step : journal.steps)
        if (step.kind == StepKind::Directory)
            if (const setupcore::CanonicalPath folder = CanonicalPathOf(step.path))
                folders.push_back(folder.path);
    RemovalScope scope(directory.path);
    scope.Prepare(setupcore::InstallRecord{directory.path, {}});
    std::vector<ItemLeft> left;
    RemoveMadeFolders(folders, scope, left, log);
}

Recovery Recover(const RunJournal& journal, const std::string& runningProgram,
                 const std::string& removingProgram, InstallLog* log) {
    if (journal.op == setupcore::JournalOp::Uninstall) {
        if (!removingProgram.empty() &&
            setupcore::EqualsIgnoringAsciiCase(journal.place, removingProgram))
            return {RecoveryFound::UninstallLeftToThis, journal.place};
        LogLine(log, "An uninstallation of " + journal.place + " was interrupted; finishing it");
        const RemovalOutcome removal = RemoveInstallation(journal.place, runningProgram, log);
        if (removal.problem.kind == ProblemKind::CannotOpenRecord)
            FinishRemovalWithoutRecord(journal, log);
        ClearJournal(journal.product);
        return {RecoveryFound::UninstallFinished, journal.place};
    }
    // Its directory passes the installation's own door, or nothing is done.
    std::string installDir;
    if (CheckInstallDirectory(journal.place, std::string(), installDir) ||
        installDir != journal.place) {
        LogLine(log, "The journal of an interrupted run of " + journal.product +
                         " names a directory no installation goes to; it is left alone: " +
                         journal.place);
        ClearJournal(journal.product);
        return {RecoveryFound::Unreadable, journal.place};
    }
    const RecoveryScope scope(installDir);
    if (journal.Committed()) {
        LogLine(log, "An installation into " + journal.place +
                         " was interrupted after it was complete; finishing it");
        FinishInstall(journal, scope, log);
        ClearJournal(journal.product);
        return {RecoveryFound::InstallFinished, journal.place};
    }
    LogLine(log, "An installation into " + journal.place + " was interrupted; undoing it");
    UndoInstall(journal, scope, log);
    ClearJournal(journal.product);
    return {RecoveryFound::InstallUndone, journal.place};
}

} // namespace

Recovery RecoverInterruptedRun(const std::string& product, const std::string& runningProgram,
                               const std::string& removingProgram, InstallLog* log) {
    std::string text;
    if (!ReadJournal(product, text))
        return {};
    RunJournal journal;
    if (!setupcore::DecodeJournal(text, journal) || journal.product != product) {
        LogLine(log, "The journal of an interrupted run of " + product +
                         " could not be read; it is left as it is under HKEY_CURRENT_USER\\" +
                         kJournalKey);
        return {RecoveryFound::Unreadable, std::string()};
    }
    return Recover(journal, runningProgram, removingProgram, log);
}

std::string JournalledProductIn(const std::string& installDirectory) {
    for (const std::string& product : JournalProducts()) {
        std::string text;
        RunJournal journal;
        if (!ReadJournal(product, text) || !setupcore::DecodeJournal(text, journal))
            continue;
        const setupcore::CanonicalPath place = CanonicalPathOf(
            journal.op == setupcore::JournalOp::Install ? journal.place
                                                        : ExtractDirectory(journal.place));
        if (place && setupcore::IsSamePath(place.path, installDirectory, IsAnsiLeadByte))
            return product;
    }
    return std::string();
}

Recovery RecoverBeforeStarting(const std::string& product, const std::string& runningProgram,
                               InstallLog* log) {
    ProductRunLock lock;
    if (!lock.Take(product, 0))
        return {};
    return RecoverInterruptedRun(product, runningProgram, std::string(), log);
}
