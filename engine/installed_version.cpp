#include "installed_version.h"

#include "ansi_text.h"
#include "auto_start_item.h"
#include "install_defaults.h"
#include "install_record_file.h"
#include "item_type.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "reg_key_holder.h"
#include "registry_names.h"
#include "shell_link.h"
#include "shortcut_item.h"

#include <shlobj.h>

namespace {

bool SamePath(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && setupcore::IsSamePath(a, b, IsAnsiLeadByte);
}

std::string QuickLaunchFolder() {
    const std::string appData = SpecialFolderPath(CSIDL_APPDATA);
    return appData.empty() ? std::string()
                           : CanonicalOrEmpty(
                                 AppendPath(appData, "Microsoft\\Internet Explorer\\Quick Launch"));
}

// What the record says the installation was made with.
void ReadChoices(InstalledVersion& installed) {
    const std::string desktop = CanonicalOrEmpty(SpecialFolderPath(CSIDL_DESKTOP));
    const std::string quickLaunch = QuickLaunchFolder();
    const std::vector<std::string> programsFolders = {
        CanonicalOrEmpty(SpecialFolderPath(CSIDL_COMMON_PROGRAMS)),
        CanonicalOrEmpty(SpecialFolderPath(CSIDL_PROGRAMS))};
    for (const setupcore::RecordItem& stored : installed.record.items) {
        const setupcore::RecordItem item = ResolveItem(stored, installed.installDir);
        const ItemType* type = TypeOf(item);
        if (dynamic_cast<const AutoStartItem*>(type)) {
            installed.autoStart = true;
        } else if (dynamic_cast<const ShortcutItem*>(type)) {
            const std::string folder = ExtractDirectory(item.path);
            installed.desktopShortcut = installed.desktopShortcut || SamePath(folder, desktop);
            installed.quickLaunchShortcut =
                installed.quickLaunchShortcut || SamePath(folder, quickLaunch);
        } else if (item.kind == setupcore::ItemKind::Directory && installed.groupDir.empty() &&
                   RemovalPlaces::FolderHolding(programsFolders, item.path)) {
            installed.groupDir = item.path;
        }
    }
}

} // namespace

std::optional<InstalledVersion> FindInstalledVersion(const std::string& displayName,
                                                     const std::string& recordFileName,
                                                     InstallLog* log) {
    const std::string entry = kUninstallKeyBase + displayName;
    const std::string location = ReadRegistryString(HKEY_CURRENT_USER, entry, "InstallLocation");
    if (location.empty())
        return std::nullopt; // not installed, or by a version that kept no location
    InstalledVersion installed;
    installed.installDir = CanonicalOrEmpty(location);
    RemovalPlaces places;
    places.installDir = installed.installDir;
    const std::string record = AppendPath(installed.installDir, recordFileName);
    if (installed.installDir.empty() ||
        !places.RefersToInstallation(
            ReadRegistryString(HKEY_CURRENT_USER, entry, "UninstallString")) ||
        ReadInstallRecord(record, installed.record) ||
        !SamePath(CanonicalOrEmpty(installed.record.installDir), installed.installDir)) {
        LogLine(log, "Not taken as an installation to update: the uninstall entry " + entry +
                         " (its location, its uninstall command or its record do not agree)");
        return std::nullopt;
    }
    if (ReadMadeList(AppendPath(installed.installDir, setupcore::MadeListFileName(recordFileName)),
                     installed.madeList)) {
        LogLine(log, "Not taken as an installation to update: its made list is damaged");
        return std::nullopt;
    }
    installed.displayVersion = ReadRegistryString(HKEY_CURRENT_USER, entry, "DisplayVersion");
    ReadChoices(installed);
    return installed;
}

InstallChoices ChoicesForUpdate(InstallChoices choices, const setupcore::StatedChoices& stated,
                                const InstalledVersion& installed) {
    if (!stated.perUser)
        choices.perUser = installed.madeList && installed.madeList->perUser;
    choices.programsFolder = ProgramsFolder(choices.perUser);
    if (!stated.installDir)
        choices.installDir = installed.installDir;
    const std::string programs = CanonicalOrEmpty(choices.programsFolder);
    if (!stated.groupName && !installed.groupDir.empty() && !programs.empty() &&
        setupcore::IsStrictlyBelow(installed.groupDir, programs, IsAnsiLeadByte))
        choices.groupName =
            installed.groupDir.substr(programs.size() + (programs.back() == '\\' ? 0 : 1));
    if (!stated.desktopShortcut)
        choices.desktopShortcut = installed.desktopShortcut;
    if (!stated.quickLaunchShortcut)
        choices.quickLaunchShortcut = installed.quickLaunchShortcut;
    if (!stated.autoStart)
        choices.autoStart = installed.autoStart;
    return choices;
}
