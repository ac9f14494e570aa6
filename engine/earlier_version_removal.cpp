#include "earlier_version_removal.h"

#include "ansi_text.h"
#include "item_type.h"
#include "made_folders.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "removal_scope.h"

namespace {

using setupcore::JournalStep;
using setupcore::StepKind;

// What an update takes away of the earlier installation, as the journal
// keeps it: enough to finish the work should the run die in the midst of it.
struct EarlierLeftovers {
    std::string installDir;
    bool perUser = false;
    std::vector<std::string> windowsFiles;
    std::vector<setupcore::RecordItem> items; // resolved
    std::vector<std::string> folders;
    bool moved = false; // the new version went into another directory
};

setupcore::InstallRecord Resolved(const setupcore::InstallRecord& record) {
    setupcore::InstallRecord resolved{record.installDir, {}};
    for (const setupcore::RecordItem& item : record.items)
        resolved.items.push_back(ResolveItem(item, record.installDir));
    return resolved;
}

JournalStep StepOf(StepKind kind, const std::string& path, bool existed = false) {
    JournalStep step;
    step.kind = kind;
    step.path = path;
    step.existed = existed;
    return step;
}

std::vector<JournalStep> StepsOf(const EarlierLeftovers& leftovers) {
    std::vector<JournalStep> steps = {
        StepOf(StepKind::EarlierPlace, leftovers.installDir, leftovers.perUser)};
    for (const setupcore::RecordItem& item : leftovers.items)
        steps.push_back(StepOf(StepKind::EarlierItem, setupcore::EncodeItem(item)));
    for (const std::string& folder : leftovers.folders)
        steps.push_back(StepOf(StepKind::EarlierFolder, folder));
    return steps;
}

// Each item by its own kind, then the folders: those the new version does
// not hold, once empty. The items that could neither go nor be left to the
// restart.
std::vector<setupcore::RecordItem> CarryOut(const EarlierLeftovers& leftovers, InstallLog* log) {
    RemovalScope scope(leftovers.installDir);
    scope.AllowWindowsFiles(leftovers.windowsFiles);
    if (leftovers.perUser)
        scope.LimitToTheUser();
    scope.Prepare(setupcore::InstallRecord{leftovers.installDir, leftovers.items});
    std::vector<setupcore::RecordItem> failed;
    for (const setupcore::RecordItem& item : leftovers.items) {
        const std::string text = setupcore::EncodeItem(item);
        const ItemType* owner = scope.OwnerOf(item);
        if (!owner) {
            LogLine(log, "Earlier version: " + DescribeLeftAlone(item, text));
            continue;
        }
        const ItemOutcome outcome = owner->Remove(item);
        LogLine(log, "Earlier version: " + owner->Describe(item, outcome, text));
        if (outcome == ItemOutcome::Failed)
            failed.push_back(item);
    }
    std::vector<ItemLeft> left; // what stays of the earlier folders is the user's
    // In the same directory, those the new version holds are not empty.
    RemoveMadeFolders(leftovers.folders, scope, left, log, leftovers.moved);
    return failed;
}

EarlierLeftovers LeftoversOf(const InstalledVersion& earlier, const InstallTransaction& run,
                             const std::string& recordFileName) {
    EarlierLeftovers leftovers;
    leftovers.installDir = earlier.installDir;
    leftovers.perUser = earlier.madeList && earlier.madeList->perUser;
    if (earlier.madeList) {
        leftovers.windowsFiles = CanonicalPaths(earlier.madeList->windowsFiles);
        leftovers.folders = CanonicalPaths(earlier.madeList->folders);
    }
    leftovers.items = Resolved(earlier.record).NotIn(Resolved(run.RecordSoFar()));
    leftovers.moved = !setupcore::IsSamePath(earlier.installDir, run.installDir, IsAnsiLeadByte);
    // Moved elsewhere, the earlier record and its made list go as its files do.
    if (leftovers.moved)
        for (const std::string& file :
             {recordFileName, setupcore::MadeListFileName(recordFileName)})
            leftovers.items.push_back(setupcore::RecordItem::ForPath(
                AppendPath(earlier.installDir, file), IsAnsiLeadByte));
    return leftovers;
}

} // namespace

Problem AnnounceWhatTheUpdateLeaves(const InstalledVersion& earlier, InstallTransaction& run,
                                    const std::string& recordFileName) {
    return run.Announce(StepsOf(LeftoversOf(earlier, run, recordFileName)));
}

void RemoveWhatTheUpdateLeft(const InstalledVersion& earlier, InstallTransaction& run,
                             const std::string& recordFileName) {
    const EarlierLeftovers leftovers = LeftoversOf(earlier, run, recordFileName);
    for (const setupcore::RecordItem& item : CarryOut(leftovers, run.log))
        run.Record(item); // still held: the next uninstallation tries again
    if (!leftovers.moved) {
        MadeList kept;
        for (const std::string& folder : run.inherited.folders)
            if (IsExistingDirectory(folder))
                kept.folders.push_back(folder);
        kept.windowsFiles = run.inherited.windowsFiles;
        run.inherited = kept;
    }
    if (const Problem problem = run.WriteRecord(recordFileName))
        LogLine(run.log, "Could not write the install record again: " + problem.path);
}

void FinishEarlierRemoval(const setupcore::RunJournal& journal, InstallLog* log) {
    EarlierLeftovers leftovers;
    bool found = false;
    for (const JournalStep& step : journal.steps) {
        if (step.kind == StepKind::EarlierPlace) {
            const setupcore::CanonicalPath place = CanonicalPathOf(step.path);
            found = static_cast<bool>(place);
            leftovers.installDir = place.path;
            leftovers.perUser = step.existed;
        } else if (step.kind == StepKind::EarlierItem) {
            leftovers.items.push_back(
                ResolveItem(setupcore::ClassifyItem(step.path, IsAnsiLeadByte), leftovers.installDir));
        } else if (step.kind == StepKind::EarlierFolder) {
            if (const setupcore::CanonicalPath folder = CanonicalPathOf(step.path))
                leftovers.folders.push_back(folder.path);
        }
    }
    if (!found)
        return;
    const setupcore::CanonicalPath place = CanonicalPathOf(journal.place);
    leftovers.moved =
        !place || !setupcore::IsSamePath(leftovers.installDir, place.path, IsAnsiLeadByte);
    CarryOut(leftovers, log);
}
