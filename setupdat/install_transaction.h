// One installation as a transaction. Everything the run makes goes through
// it: the files and folders the copy run makes, the files of an earlier
// installation it replaces, every item it records, and every change after
// the copy run (a link, a registry value), each of which knows how to undo
// itself. It commits when the installation is whole; until then, and
// whenever it ends without committing, it is undone, last change first,
// and says of each path what became of it.
//
// With a journal kept, every step is announced (written and flushed) before
// it is taken, so that a run that dies midway is undone, or finished once it
// committed, by the next run of the product (run_recovery.h).
#pragma once

#include "install_log.h"
#include "install_record.h"
#include "item_outcome.h"
#include "made_list.h"
#include "package.h"
#include "package_reader.h"
#include "problem.h"
#include "replaced_files.h"
#include "run_journal.h"

#include <memory>
#include <string>
#include <vector>

// A change the run made after the copy run, which can take itself back.
class Change {
public:
    virtual ~Change() = default;
    virtual void Undo() = 0;
};

class InstallTransaction {
public:
    // `installDir` is canonical; `package` outlives the transaction.
    InstallTransaction(const Package& package, std::string sourceDir, std::string installDir,
                       InstallLog* log);
    // Undoes the run unless it was committed.
    ~InstallTransaction();
    InstallTransaction(const InstallTransaction&) = delete;
    InstallTransaction& operator=(const InstallTransaction&) = delete;

    const Package& package;
    const std::string sourceDir;
    const std::string installDir;
    InstallLog* const log;

    // The copy run's part. Every directory and file made where nothing stood
    // before, in the order made; the files among them; the files of an earlier
    // installation replaced or deleted; where each packaged file is read
    // from, and where it went (empty until installed).
    std::vector<std::string> createdPaths;
    std::vector<std::string> createdFiles;
    ReplacedFiles replaced;
    std::vector<PackagedSource> sources;
    std::vector<std::string> targets;
    // What an earlier installation into the same directory made (its made
    // list): kept on this one's list, so that its uninstallation takes it too.
    MadeList inherited;
    // Made for the user alone: said so on the made list.
    bool perUser = false;

    // Appends an item to the record: NoMemory when it cannot be kept (no
    // memory, or longer than the record holds), which fails the run.
    Problem Record(const setupcore::RecordItem& item);
    const setupcore::InstallRecord& RecordSoFar() const { return record_; }
    // Writes the record and the made list beside it; what stood under their
    // names before comes back should the run not commit.
    Problem WriteRecord(const std::string& recordFileName);

    // Keeps a change made after the copy run, to undo should the run not commit.
    void Journal(std::unique_ptr<Change> change);

    // From here on the journal is kept under `product`, which names the
    // run's lock; the problem when it cannot be written.
    Problem KeepJournal(const std::string& product);
    // Announces steps about to be taken: the problem, which must stop the
    // run before it takes them, when the journal cannot keep them.
    Problem Announce(const std::vector<setupcore::JournalStep>& steps);
    // The directories of `directory` that do not stand yet, outermost first.
    Problem AnnounceDirectoryTree(const std::string& directory);
    // A file about to be written: new, or replaced when one stands there.
    Problem AnnounceFile(const std::string& path);

    // The installation is whole: nothing is undone any more. The problem
    // when the journal could not say so; the run is then not committed.
    Problem Commit();
    bool Committed() const { return committed_; }
    // Undoes everything not committed and logs what of each path is gone.
    void Rollback();
    // A committed run has done all it does: its journal goes.
    void Finish();

private:
    Problem WriteJournalText();
    void EndJournal();

    setupcore::InstallRecord record_;
    std::vector<std::unique_ptr<Change>> changes_;
    bool committed_ = false;
    bool recordJournalled_ = false;
    bool rolledBack_ = false;
    std::string product_;     // empty while no journal is kept
    std::string journalText_; // the journal as written so far
};
