#include "directory_item.h"

#include "ansi_text.h"
#include "outcome_of.h"
#include "path_helpers.h"
#include "path_scope.h"

Problem DirectoryItem::Make(InstallTransaction& run, const std::string& directory) {
    if (Problem problem = run.AnnounceDirectoryTree(directory))
        return problem;
    // One that cannot be made leaves what goes into it unmade; the
    // installation stands all the same.
    LogLine(run.log,
            (CreateDirectoryTree(directory, &run.createdPaths) ? "Made: " : "Could not make: ") +
                directory);
    return run.Record(setupcore::RecordItem::ForPath(directory, IsAnsiLeadByte));
}

Problem DirectoryItem::RecordAsDirectory(InstallTransaction& run, const std::string& directory) {
    return run.Record(setupcore::RecordItem::ForPath(directory + "\\", IsAnsiLeadByte));
}

bool DirectoryItem::Handles(const setupcore::RecordItem& item) const {
    return item.kind == setupcore::ItemKind::Directory ||
           (item.kind == setupcore::ItemKind::FullPathFile && IsExistingDirectory(item.path));
}

bool DirectoryItem::IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const {
    if (setupcore::IsStrictlyBelow(item.path, places.installDir, IsAnsiLeadByte))
        return !LinkOnTheWay(places.installDir, item.path);
    const std::string* programs = RemovalPlaces::FolderHolding(places.programsFolders, item.path);
    return programs && !LinkOnTheWay(*programs, item.path);
}

ItemOutcome DirectoryItem::Remove(const setupcore::RecordItem& item) const {
    return OutcomeOf(RemoveDirectoryNowOrAtRestart(item.path));
}
