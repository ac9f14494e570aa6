#include "file_item.h"

#include "ansi_text.h"
#include "file_change.h"
#include "outcome_of.h"
#include "path_helpers.h"
#include "path_scope.h"

#include <algorithm>

Problem FileItem::MakeCopy(InstallTransaction& run, const std::string& from,
                           const std::string& to) {
    if (Problem problem = JournalFileWrite(run, to))
        return problem;
    if (::CopyFileA(from.c_str(), to.c_str(), FALSE))
        LogLine(run.log, "Made: " + to);
    else
        LogLine(run.log, "Not copied (the package has none, or it could not be written): " + to);
    return run.Record(setupcore::RecordItem::ForPath(to, IsAnsiLeadByte));
}

bool FileItem::Handles(const setupcore::RecordItem& item) const {
    return item.kind == setupcore::ItemKind::FullPathFile;
}

bool FileItem::IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const {
    const std::string& path = item.path;
    if (setupcore::IsStrictlyBelow(path, places.installDir, IsAnsiLeadByte))
        return !LinkOnTheWay(places.installDir, path);
    if (places.windowsDir.empty() ||
        !setupcore::IsStrictlyBelow(path, places.windowsDir, IsAnsiLeadByte))
        return false;
    const bool created = std::any_of(
        places.windowsFiles.begin(), places.windowsFiles.end(),
        [&](const std::string& file) { return setupcore::IsSamePath(file, path, IsAnsiLeadByte); });
    return created && !IsExistingDirectory(path) && !LinkOnTheWay(places.windowsDir, path);
}

ItemOutcome FileItem::Remove(const setupcore::RecordItem& item) const {
    return OutcomeOf(DeleteFileNowOrAtRestart(item.path));
}
