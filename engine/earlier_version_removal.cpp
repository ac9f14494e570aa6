#include "earlier_version_removal.h"

#include "ansi_text.h"
#include "item_type.h"
#include "made_folders.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "reboot_delete.h"
#include "removal_scope.h"

namespace {

setupcore::InstallRecord Resolved(const setupcore::InstallRecord& record) {
    setupcore::InstallRecord resolved{record.installDir, {}};
    for (const setupcore::RecordItem& item : record.items)
        resolved.items.push_back(ResolveItem(item, record.installDir));
    return resolved;
}

// The items the new version did not make again, each removed by its kind;
// one that could neither go nor be left to the restart stays recorded.
void RemoveItemsLeftOver(const InstalledVersion& earlier, const RemovalScope& scope,
                         InstallTransaction& run) {
    const setupcore::InstallRecord now = Resolved(run.RecordSoFar());
    for (const setupcore::RecordItem& item : Resolved(earlier.record).NotIn(now)) {
        const std::string text = setupcore::EncodeItem(item);
        const ItemType* owner = scope.OwnerOf(item);
        if (!owner) {
            LogLine(run.log, "Earlier version: " + DescribeLeftAlone(item, text));
            continue;
        }
        const ItemOutcome outcome = owner->Remove(item);
        LogLine(run.log, "Earlier version: " + owner->Describe(item, outcome, text));
        if (outcome == ItemOutcome::Failed)
            run.Record(item); // still held: the next uninstallation tries again
    }
}

} // namespace

void RemoveWhatTheUpdateLeft(const InstalledVersion& earlier, InstallTransaction& run,
                             const std::string& recordFileName) {
    RemovalScope scope(earlier.installDir);
    if (earlier.madeList)
        scope.AllowWindowsFiles(CanonicalPaths(earlier.madeList->windowsFiles));
    if (earlier.madeList && earlier.madeList->perUser)
        scope.LimitToTheUser();
    scope.Prepare(earlier.record);
    RemoveItemsLeftOver(earlier, scope, run);

    const bool moved = !setupcore::IsSamePath(earlier.installDir, run.installDir, IsAnsiLeadByte);
    std::vector<ItemLeft> left; // what stays of the earlier folders is the user's
    const std::vector<std::string> folders =
        earlier.madeList ? CanonicalPaths(earlier.madeList->folders) : std::vector<std::string>();
    if (moved) {
        for (const std::string& file :
             {recordFileName, setupcore::MadeListFileName(recordFileName)})
            DeleteFileNowOrAtRestart(AppendPath(earlier.installDir, file));
        RemoveMadeFolders(folders, scope, left, run.log);
    } else {
        // Those the new version holds are not empty; only the emptied ones go.
        RemoveMadeFolders(folders, scope, left, run.log, false);
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
