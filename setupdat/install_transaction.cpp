#include "install_transaction.h"

#include "ansi_text.h"
#include "file_change.h"
#include "file_handle.h"
#include "install_record_format.h"
#include "crash_moments.h"
#include "journal_store.h"
#include "made_list.h"
#include "path_helpers.h"
#include "path_scope.h"

#include <windows.h>

#include <new>
#include <unordered_set>

namespace {

void AddOnce(std::vector<std::string>& paths, const std::string& path) {
    for (const std::string& known : paths)
        if (setupcore::EqualsIgnoringAsciiCase(known, path))
            return;
    paths.push_back(path);
}

// The folders and the Windows directory's files among what the run created,
// after those an earlier installation made.
MadeList MadeListOf(const MadeList& inherited, const std::vector<std::string>& created,
                    const std::vector<std::string>& createdFiles) {
    MadeList list = inherited;
    const std::string windows = WindowsDirectory();
    const std::unordered_set<std::string> files(createdFiles.begin(), createdFiles.end());
    for (const std::string& path : created) {
        if (!files.count(path))
            AddOnce(list.folders, path);
        else if (setupcore::IsStrictlyBelow(path, windows, IsAnsiLeadByte))
            AddOnce(list.windowsFiles, path);
    }
    return list;
}

} // namespace

InstallTransaction::InstallTransaction(const Package& package_, std::string sourceDir_,
                                       std::string installDir_, InstallLog* log_)
    : package(package_), sourceDir(std::move(sourceDir_)), installDir(std::move(installDir_)),
      log(log_) {
    record_.installDir = installDir;
}

InstallTransaction::~InstallTransaction() {
    Rollback();
}

Problem InstallTransaction::Record(const setupcore::RecordItem& item) {
    try {
        const std::string text = setupcore::EncodeItem(item);
        // The record keeps 1 to 1023 bytes an item; anything else could not be read back.
        if (text.empty() || text.size() > static_cast<size_t>(setupcore::kMaxRecordItem))
            return Problem::Of(ProblemKind::PathTooLong, text);
        record_.items.push_back(item);
    } catch (const std::bad_alloc&) {
        return Problem::Of(ProblemKind::NoMemory);
    }
    return Problem();
}

Problem InstallTransaction::WriteRecord(const std::string& recordFileName) {
    const std::string path = AppendPath(installDir, recordFileName);
    const std::string madeList = setupcore::MadeListFileName(recordFileName);
    if (!recordJournalled_ && !committed_) {
        if (Problem problem = JournalFileWrite(*this, path))
            return problem;
        if (Problem problem = JournalFileWrite(*this, AppendPath(installDir, madeList)))
            return problem;
        recordJournalled_ = true;
    }
    if (!ReplaceWholeFile(path, setupcore::EncodeRecord(record_)))
        return Problem::Of(ProblemKind::CannotCreateFile, path, ::GetLastError());
    MadeList list = MadeListOf(inherited, createdPaths, createdFiles);
    list.perUser = perUser;
    return WriteMadeList(installDir, madeList, list);
}

void InstallTransaction::Journal(std::unique_ptr<Change> change) {
    changes_.push_back(std::move(change));
}

Problem InstallTransaction::KeepJournal(const std::string& product) {
    setupcore::RunJournal head;
    head.product = product;
    head.place = installDir;
    journalText_ = setupcore::EncodeJournalHead(head);
    product_ = product;
    PassMoment();
    return WriteJournalText();
}

Problem InstallTransaction::Announce(const std::vector<setupcore::JournalStep>& steps) {
    if (product_.empty())
        return Problem();
    // A moment whether or not there is anything to write: the run's moments
    // do not depend on what stood before it.
    PassMoment();
    if (steps.empty())
        return Problem();
    for (const setupcore::JournalStep& step : steps)
        journalText_ += setupcore::EncodeJournalStep(step);
    return WriteJournalText();
}

Problem InstallTransaction::WriteJournalText() {
    if (!WriteJournal(product_, journalText_))
        return Problem::Of(ProblemKind::CannotCreateFile,
                           std::string("HKEY_CURRENT_USER\\") + kJournalKey, ::GetLastError());
    return Problem();
}

Problem InstallTransaction::AnnounceDirectoryTree(const std::string& directory) {
    std::vector<setupcore::JournalStep> steps;
    for (std::string at = directory; !at.empty() && !IsExistingDirectory(at);) {
        setupcore::JournalStep step;
        step.kind = setupcore::StepKind::Directory;
        step.path = at;
        steps.insert(steps.begin(), step);
        const std::string parent = ExtractDirectory(at);
        if (parent.size() >= at.size())
            break;
        at = parent;
    }
    return Announce(steps);
}

Problem InstallTransaction::AnnounceFile(const std::string& path) {
    setupcore::JournalStep step;
    step.kind = ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES
                    ? setupcore::StepKind::NewFile
                    : setupcore::StepKind::ReplacedFile;
    step.path = path;
    return Announce({step});
}

Problem InstallTransaction::Commit() {
    setupcore::JournalStep committed;
    committed.kind = setupcore::StepKind::Committed;
    if (Problem problem = Announce({committed}))
        return problem;
    committed_ = true;
    changes_.clear();
    return Problem();
}

void InstallTransaction::Finish() {
    if (committed_)
        EndJournal();
}

void InstallTransaction::EndJournal() {
    if (!product_.empty())
        ClearJournal(product_);
    product_.clear();
}

void InstallTransaction::Rollback() {
    if (committed_ || rolledBack_)
        return;
    rolledBack_ = true;
    LogLine(log, "The run was undone: what it made is taken away again");
    for (auto change = changes_.rbegin(); change != changes_.rend(); ++change)
        (*change)->Undo();
    changes_.clear();
    replaced.PutBack();
    // Last made first: a directory's files and subdirectories go before it.
    for (auto path = createdPaths.rbegin(); path != createdPaths.rend(); ++path) {
        // A file that would not go leaves its directory non-empty.
        const bool gone = ::DeleteFileA(path->c_str()) || ::RemoveDirectoryA(path->c_str());
        LogLine(log, (gone ? "Removed: " : "Could not remove: ") + *path);
    }
    createdPaths.clear();
    createdFiles.clear();
    EndJournal();
}
