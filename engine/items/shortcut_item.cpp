#include "shortcut_item.h"

#include "ansi_text.h"
#include "file_change.h"
#include "outcome_of.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "shell_link.h"

#include <cstdio>

namespace {

bool IsLinkFile(const std::string& path) {
    return setupcore::EqualsIgnoringAsciiCase(
        setupcore::ExtensionAfterLastDot(path, IsAnsiLeadByte), "lnk");
}

std::string Hex(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

} // namespace

Problem ShortcutItem::Make(InstallTransaction& run, const ShortcutSpec& shortcut) {
    if (Problem problem = JournalFileWrite(run, shortcut.link))
        return problem;
    const HRESULT made = CreateShortcut(
        shortcut.target, shortcut.link, shortcut.workingDirectory.c_str(),
        shortcut.iconPath.empty() ? nullptr : shortcut.iconPath.c_str(), shortcut.iconIndex,
        shortcut.arguments.empty() ? nullptr : shortcut.arguments.c_str());
    LogLine(run.log, SUCCEEDED(made) ? "Made: " + shortcut.link
                                     : "Could not make: " + shortcut.link + " (" + Hex(made) + ")");
    return run.Record(setupcore::RecordItem::ForPath(shortcut.link, IsAnsiLeadByte));
}

bool ShortcutItem::Handles(const setupcore::RecordItem& item) const {
    return item.kind == setupcore::ItemKind::FullPathFile && IsLinkFile(item.path);
}

bool ShortcutItem::LeadsIntoInstallation(const std::string& path, const RemovalPlaces& places) {
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true; // nothing there to remove
    ShortcutContents contents;
    if (FAILED(ReadShortcut(path, contents)))
        return false;
    const setupcore::CanonicalPath target = CanonicalPathOf(contents.target);
    return target && setupcore::IsStrictlyBelow(target.path, places.installDir, IsAnsiLeadByte);
}

bool ShortcutItem::IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const {
    const std::string& path = item.path;
    if (setupcore::IsStrictlyBelow(path, places.installDir, IsAnsiLeadByte))
        return !LinkOnTheWay(places.installDir, path);
    if (const std::string* programs = RemovalPlaces::FolderHolding(places.programsFolders, path))
        return !LinkOnTheWay(*programs, path) && LeadsIntoInstallation(path, places);
    // On the desktop and in Quick Launch: directly in the folder, not below it.
    const std::string* folder = RemovalPlaces::FolderHolding(places.linkFolders, path);
    return folder && setupcore::IsSamePath(ExtractDirectory(path), *folder, IsAnsiLeadByte) &&
           !LinkOnTheWay(*folder, path) && LeadsIntoInstallation(path, places);
}

ItemOutcome ShortcutItem::Remove(const setupcore::RecordItem& item) const {
    return OutcomeOf(DeleteFileNowOrAtRestart(item.path));
}
