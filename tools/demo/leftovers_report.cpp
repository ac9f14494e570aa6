#include "leftovers_report.h"

#include "file_listing.h"
#include "record_item.h"
#include "registry_values.h"

#include <windows.h>

#include <iostream>

namespace {

// Whether a recorded item is still there, and how the report names it.
struct ItemState {
    std::string description;
    bool present = false;
};

ItemState StateOf(const std::string& item, const std::string& installDir) {
    const setupcore::RecordItem classified = setupcore::ClassifyItem(item, setupcore::NoLeadBytes);
    // The parent key ends in a backslash, which RegOpenKeyEx need not accept.
    const std::string parent = classified.parentKey.substr(0, classified.parentKey.size() - 1);
    const std::string key = classified.parentKey + classified.name;
    switch (classified.kind) {
    case setupcore::ItemKind::RegistryKey:
        return {"registry key HKEY_CURRENT_USER\\" + key, KeyExists(HKEY_CURRENT_USER, key)};
    case setupcore::ItemKind::RegistryValue:
        return {"registry value HKEY_CURRENT_USER\\" + key,
                ValueExists(HKEY_CURRENT_USER, parent, classified.name)};
    case setupcore::ItemKind::Directory:
        return {"directory " + classified.path, PathExists(classified.path)};
    case setupcore::ItemKind::FullPathFile:
        return {(IsDirectory(classified.path) ? "directory " : "file ") + classified.path,
                PathExists(classified.path)};
    case setupcore::ItemKind::BareFile:
        return {"file " + installDir + "\\" + classified.path,
                PathExists(installDir + "\\" + classified.path)};
    default:
        return {"unreadable item " + item, false};
    }
}

void ReportInstallDirectory(const std::string& installDir, bool& clean) {
    if (!PathExists(installDir)) {
        std::cout << "   install directory " << installDir << ": gone" << std::endl;
        return;
    }
    clean = false;
    std::cout << "   install directory " << installDir << ": still there, holding" << std::endl;
    for (const ListedFile& file : ListFiles(installDir))
        std::cout << "      " << file.relativePath << std::endl;
}

void ReportRecordedItems(const Installation& installation, bool& clean) {
    size_t gone = 0;
    for (const std::string& item : installation.recordItems) {
        const ItemState state = StateOf(item, installation.installDir);
        if (state.present) {
            clean = false;
            std::cout << "   still there: " << state.description << std::endl;
        } else {
            ++gone;
        }
    }
    std::cout << "   " << gone << " of the " << installation.recordItems.size()
              << " recorded items are gone (program group, shortcuts, files, registry)"
              << std::endl;
    const bool keyLeft = KeyExists(HKEY_CURRENT_USER, installation.uninstallKey);
    clean = clean && !keyLeft;
    std::cout << "   uninstall entry HKEY_CURRENT_USER\\" << installation.uninstallKey << ": "
              << (keyLeft ? "still there" : "gone") << std::endl;
}

} // namespace

void ReportScheduledDeletions(const std::vector<PendingOperation>& scheduled) {
    std::cout << "   scheduled for deletion at the next restart:"
              << (scheduled.empty() ? " nothing" : "") << std::endl;
    for (const PendingOperation& operation : scheduled)
        std::cout << "      " << operation.path
                  << (operation.renameTo.empty() ? "" : " (renamed to " + operation.renameTo + ")")
                  << (PathExists(operation.path) ? "" : " (already gone)") << std::endl;
}

bool ReportLeftovers(const Installation& installation,
                     const std::vector<PendingOperation>& scheduledByUninstall) {
    bool clean = true;
    ReportInstallDirectory(installation.installDir, clean);
    ReportRecordedItems(installation, clean);
    ReportScheduledDeletions(scheduledByUninstall);
    return clean;
}
