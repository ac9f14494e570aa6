// Files of an earlier installation that a copy run replaces or deletes. Their
// successors are written beside them under names of their own, and the old
// files step aside only once every successor is whole, so that a failed run
// can put every one of them back as it was. The names are the journal's
// (run_journal.h): a run that dies midway leaves nothing the next run cannot
// find from the names of the files it was replacing.
#pragma once

#include "problem.h"

#include <string>
#include <vector>

class ReplacedFiles {
public:
    // The name beside `target` for its successor's bytes.
    std::string SuccessorOf(const std::string& target) const;
    // `successor`, made above, holds the whole new content of `target`.
    void Add(const std::string& target, const std::string& successor);
    // Moves an existing file out of the way at once (an obsolete file, or
    // one about to be written anew): it is gone for the run, and back should
    // the run fail. A file this run has already set aside or replaced holds
    // the run's own bytes, and is not moved.
    void SetAside(const std::string& target);

    // Each old file steps aside and its successor takes its name. On a
    // failure everything done so far is put back and the problem returned.
    Problem Commit();
    // Once the installation stands: the old files go, now or at restart.
    void DiscardOldFiles();
    // After a failed run, before or after Commit: every old file is back
    // under its name, every successor gone.
    void PutBack();

private:
    struct Entry {
        std::string target;
        std::string successor; // empty for a file only set aside
        std::string aside;     // where the old file waits while it is set aside
        bool committed = false;
    };
    bool StepAside(Entry& entry);
    // Whether an earlier entry holds `target`'s old file aside.
    bool HoldsAside(const std::string& target) const;
    std::vector<Entry> entries_;
};
