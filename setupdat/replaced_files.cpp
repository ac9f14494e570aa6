#include "replaced_files.h"

#include "path_helpers.h"
#include "reboot_delete.h"

namespace {

// A new file in `directory` that nobody else has: GetTempFileName makes it.
std::string FreshFileBeside(const std::string& target) {
    char name[MAX_PATH * 2];
    if (!::GetTempFileNameA(ExtractDirectory(target).c_str(), "kst", 0, name))
        return std::string();
    return name;
}

bool MoveOver(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

} // namespace

std::string ReplacedFiles::MakeSuccessor(const std::string& target) {
    return FreshFileBeside(target);
}

void ReplacedFiles::Add(const std::string& target, const std::string& successor) {
    entries_.push_back({target, successor, std::string(), false});
}

void ReplacedFiles::SetAside(const std::string& target) {
    if (::GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES)
        return; // absent is normal
    Entry entry{target, std::string(), std::string(), false};
    if (StepAside(entry))
        entries_.push_back(entry);
}

bool ReplacedFiles::StepAside(Entry& entry) {
    entry.aside = FreshFileBeside(entry.target);
    if (entry.aside.empty())
        return false;
    if (MoveOver(entry.target, entry.aside))
        return true;
    ::DeleteFileA(entry.aside.c_str());
    entry.aside.clear();
    return false;
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
