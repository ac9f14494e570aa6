#include "replaced_files.h"

#include "path_helpers.h"
#include "path_text.h"
#include "reboot_delete.h"
#include "run_journal.h"

namespace {

bool MoveOver(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

} // namespace

std::string ReplacedFiles::SuccessorOf(const std::string& target) const {
    int earlier = 0;
    for (const Entry& entry : entries_)
        if (!entry.successor.empty() && setupcore::EqualsIgnoringAsciiCase(entry.target, target))
            ++earlier;
    return setupcore::SuccessorName(target, earlier);
}

bool ReplacedFiles::HoldsAside(const std::string& target) const {
    for (const Entry& entry : entries_)
        if (!entry.aside.empty() && setupcore::EqualsIgnoringAsciiCase(entry.target, target))
            return true;
    return false;
}

void ReplacedFiles::Add(const std::string& target, const std::string& successor) {
    entries_.push_back({target, successor, std::string(), false});
}

void ReplacedFiles::SetAside(const std::string& target) {
    const DWORD attributes = ::GetFileAttributesA(target.c_str());
    // Absent is normal; a directory in the way stays there, and the file's
    // writing then fails and says where.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        HoldsAside(target))
        return;
    Entry entry{target, std::string(), std::string(), false};
    if (StepAside(entry))
        entries_.push_back(entry);
}

bool ReplacedFiles::StepAside(Entry& entry) {
    // The target already holds this run's bytes: its old file waits already.
    if (HoldsAside(entry.target))
        return true;
    const std::string aside = setupcore::AsideName(entry.target);
    if (!MoveOver(entry.target, aside))
        return false;
    entry.aside = aside;
    return true;
}

Problem ReplacedFiles::Commit() {
    for (Entry& entry : entries_) {
        if (entry.successor.empty() || entry.committed)
            continue;
        if (!StepAside(entry) || !MoveOver(entry.successor, entry.target)) {
            const DWORD error = ::GetLastError();
            PutBack();
            return Problem::Of(ProblemKind::CannotWriteFile, entry.target, error);
        }
        entry.committed = true;
    }
    return Problem();
}

void ReplacedFiles::DiscardOldFiles() {
    for (const Entry& entry : entries_)
        if (!entry.aside.empty())
            DeleteFileNowOrAtRestart(entry.aside); // a program may still hold the old file
    entries_.clear();
}

void ReplacedFiles::PutBack() {
    // Last first, so that a target named twice ends as it began.
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        if (!entry->committed && !entry->successor.empty())
            ::DeleteFileA(entry->successor.c_str());
        // Should the old file not come back, it stays where it waits rather
        // than be lost.
        if (!entry->aside.empty())
            MoveOver(entry->aside, entry->target);
        entry->aside.clear();
        entry->committed = false;
    }
    entries_.clear();
}
