#include "removal_scope.h"

#include "ansi_text.h"
#include "kept_folders.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "reg_key_holder.h"
#include "registry_names.h"
#include "shell_link.h"

#include <shlobj.h>

#include <algorithm>

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return setupcore::EqualsIgnoringAsciiCase(a, b);
}

// The uninstall entry a registry item of the record lies in; empty for any other.
std::string EntryNameOf(const setupcore::RecordItem& item) {
    using setupcore::ItemKind;
    constexpr size_t base = sizeof kUninstallKeyBase - 1;
    if (item.kind == ItemKind::RegistryKey && SameText(item.parentKey, kUninstallKeyBase))
        return item.name;
    if (item.kind == ItemKind::RegistryValue && item.parentKey.size() > base + 1 &&
        SameText(item.parentKey.substr(0, base), kUninstallKeyBase))
        return item.parentKey.substr(base, item.parentKey.size() - base - 1);
    return std::string();
}

} // namespace

std::string UninstallEntryNameOf(const setupcore::InstallRecord& record) {
    for (const setupcore::RecordItem& item : record.items) {
        const std::string name = EntryNameOf(item);
        if (!name.empty() && name.find('\\') == std::string::npos)
            return name;
    }
    return std::string();
}

RemovalScope::RemovalScope(std::string installDir) {
    places_.installDir = std::move(installDir);
}

void RemovalScope::AllowWindowsFiles(std::vector<std::string> files) {
    places_.windowsFiles = std::move(files);
}

void RemovalScope::LimitToTheUser() {
    perUser_ = true;
}

void RemovalScope::Prepare(const setupcore::InstallRecord& record) {
    places_.windowsDir = CanonicalOrEmpty(WindowsDirectory());
    places_.programsFolders = {CanonicalOrEmpty(SpecialFolderPath(CSIDL_PROGRAMS))};
    if (perUser_) {
        places_.windowsFiles.clear();
    } else {
        places_.programsFolders.push_back(
            CanonicalOrEmpty(SpecialFolderPath(CSIDL_COMMON_PROGRAMS)));
        places_.programsFolders.push_back(
            CanonicalOrEmpty(AppendPath(places_.windowsDir, "Start Menu\\Programs")));
    }
    const std::string appData = SpecialFolderPath(CSIDL_APPDATA);
    places_.linkFolders = {
        CanonicalOrEmpty(SpecialFolderPath(CSIDL_DESKTOP)),
        appData.empty()
            ? std::string()
            : CanonicalOrEmpty(AppendPath(appData, "Microsoft\\Internet Explorer\\Quick Launch"))};
    // An entry is this installation's when its own uninstall command starts
    // the program in this install directory; it is looked at before any
    // value of it goes.
    std::vector<std::string>& names = places_.entryNames;
    for (const setupcore::RecordItem& item : record.items) {
        const std::string name = EntryNameOf(item);
        if (name.empty() || name.find('\\') != std::string::npos ||
            std::find(names.begin(), names.end(), name) != names.end())
            continue;
        if (places_.RefersToInstallation(ReadRegistryString(
                HKEY_CURRENT_USER, std::string(kUninstallKeyBase) + name, "UninstallString")))
            names.push_back(name);
    }
}

const ItemType* RemovalScope::OwnerOf(const setupcore::RecordItem& item) const {
    const ItemType* type = TypeOf(item);
    return type && type->IsOurs(item, places_) ? type : nullptr;
}

bool RemovalScope::AllowsMadeFolder(const std::string& folder) const {
    const std::string& installDir = places_.installDir;
    if (setupcore::IsWithin(folder, installDir, IsAnsiLeadByte))
        return !LinkOnTheWay(installDir, folder);
    // A parent the installation made on the way to its directory, unless
    // it is one that the shell or Windows keeps.
    if (setupcore::IsStrictlyBelow(installDir, folder, IsAnsiLeadByte))
        return !IsKeptFolder(folder);
    if (const std::string* programs = RemovalPlaces::FolderHolding(places_.programsFolders, folder))
        return !LinkOnTheWay(*programs, folder);
    return false;
}
