#include "removal_scope.h"

#include "ansi_text.h"
#include "kept_folders.h"
#include "path_helpers.h"
#include "path_scope.h"
#include "record_item.h"
#include "reg_key_holder.h"
#include "registry_names.h"
#include "setup_dat.h"
#include "shell_link.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

using setupcore::ItemKind;
using setupcore::RecordItem;

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return setupcore::EqualsIgnoringAsciiCase(a, b);
}

bool IsLink(const std::string& path) {
    return SameText(setupcore::ExtensionAfterLastDot(path, IsAnsiLeadByte), "lnk");
}

// The text of a string value under HKEY_CURRENT_USER; empty when there is none.
std::string StringValue(const std::string& key, const char* name) {
    CRegKeyHolder holder;
    if (holder.Open(HKEY_CURRENT_USER, key.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return std::string();
    char text[2048] = "";
    DWORD size = sizeof text - 1, type = 0;
    if (::RegQueryValueExA(holder.m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(text),
                           &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    return std::string(text, strnlen(text, size));
}

// The canonical form of a folder the system names; empty when it has none.
std::string CanonicalFolder(const std::string& folder) {
    const setupcore::CanonicalPath canonical = CanonicalPathOf(folder);
    return canonical ? canonical.path : std::string();
}

bool IsOneOf(const std::vector<std::string>& paths, const std::string& path) {
    return std::any_of(paths.begin(), paths.end(), [&](const std::string& candidate) {
        return setupcore::IsSamePath(candidate, path, IsAnsiLeadByte);
    });
}

// The folder of `folders` that holds `path`, or null when none does
// (strictly: a folder itself is never an item to remove).
const std::string* FolderHolding(const std::vector<std::string>& folders, const std::string& path) {
    for (const std::string& folder : folders)
        if (!folder.empty() && setupcore::IsStrictlyBelow(path, folder, IsAnsiLeadByte))
            return &folder;
    return nullptr;
}

} // namespace

RemovalScope::RemovalScope(std::string installDir) : installDir_(std::move(installDir)) {}

void RemovalScope::AllowWindowsFiles(std::vector<std::string> files) {
    windowsFiles_ = std::move(files);
}

void RemovalScope::Prepare(const CSetupDat& record) {
    windowsDir_ = CanonicalFolder(WindowsDirectory());
    programsFolders_ = {CanonicalFolder(SpecialFolderPath(CSIDL_COMMON_PROGRAMS)),
                        CanonicalFolder(SpecialFolderPath(CSIDL_PROGRAMS)),
                        CanonicalFolder(AppendPath(windowsDir_, "Start Menu\\Programs"))};
    const std::string appData = SpecialFolderPath(CSIDL_APPDATA);
    linkFolders_ = {CanonicalFolder(SpecialFolderPath(CSIDL_DESKTOP)),
                    appData.empty() ? std::string()
                                    : CanonicalFolder(AppendPath(
                                          appData, "Microsoft\\Internet Explorer\\Quick Launch"))};
    // An entry is this installation's when its own uninstall command starts
    // the program in this install directory; it is looked at before any
    // value of it goes.
    for (const auto& stored : record.m_installed) {
        const RecordItem item = setupcore::ClassifyItem(stored->szText, IsAnsiLeadByte);
        std::string name;
        if (item.kind == ItemKind::RegistryKey && SameText(item.parentKey, kUninstallKeyBase))
            name = item.name;
        else if (item.kind == ItemKind::RegistryValue &&
                 item.parentKey.size() > sizeof kUninstallKeyBase &&
                 SameText(item.parentKey.substr(0, sizeof kUninstallKeyBase - 1),
                          kUninstallKeyBase))
            name = item.parentKey.substr(sizeof kUninstallKeyBase - 1,
                                         item.parentKey.size() - sizeof kUninstallKeyBase);
        if (name.empty() || name.find('\\') != std::string::npos ||
            std::find(entryNames_.begin(), entryNames_.end(), name) != entryNames_.end())
            continue;
        if (RefersToInstallation(
                StringValue(std::string(kUninstallKeyBase) + name, "UninstallString")))
            entryNames_.push_back(name);
    }
}

bool RemovalScope::Allows(const RecordItem& item) const {
    switch (item.kind) {
    case ItemKind::RegistryKey:
    case ItemKind::RegistryValue:
        return AllowsRegistry(item);
    case ItemKind::Directory:
    case ItemKind::FullPathFile:
        return AllowsPath(item);
    default:
        return false;
    }
}

bool RemovalScope::AllowsPath(const RecordItem& item) const {
    const std::string& path = item.path;
    if (setupcore::IsStrictlyBelow(path, installDir_, IsAnsiLeadByte))
        return !LinkOnTheWay(installDir_, path);
    if (const std::string* programs = FolderHolding(programsFolders_, path)) {
        // The group's directories, and the links it holds.
        if (LinkOnTheWay(*programs, path))
            return false;
        return item.kind == ItemKind::Directory || IsExistingDirectory(path) ||
               (IsLink(path) && IsOurLink(path));
    }
    if (const std::string* folder = FolderHolding(linkFolders_, path)) {
        return item.kind == ItemKind::FullPathFile &&
               setupcore::IsWithin(ExtractDirectory(path), *folder, IsAnsiLeadByte) &&
               !LinkOnTheWay(*folder, path) && IsLink(path) && IsOurLink(path);
    }
    if (!windowsDir_.empty() && setupcore::IsStrictlyBelow(path, windowsDir_, IsAnsiLeadByte))
        return item.kind == ItemKind::FullPathFile && IsOneOf(windowsFiles_, path) &&
               !IsExistingDirectory(path) && !LinkOnTheWay(windowsDir_, path);
    return false;
}

bool RemovalScope::AllowsMadeFolder(const std::string& folder) const {
    if (setupcore::IsWithin(folder, installDir_, IsAnsiLeadByte))
        return !LinkOnTheWay(installDir_, folder);
    // A parent the installation made on the way to its directory, unless
    // it is one that the shell or Windows keeps.
    if (setupcore::IsStrictlyBelow(installDir_, folder, IsAnsiLeadByte))
        return !IsKeptFolder(folder);
    if (const std::string* programs = FolderHolding(programsFolders_, folder))
        return !LinkOnTheWay(*programs, folder);
    return false;
}

bool RemovalScope::IsOurLink(const std::string& path) const {
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true; // nothing there to remove
    ShortcutContents contents;
    if (FAILED(ReadShortcut(path, contents)))
        return false;
    const setupcore::CanonicalPath target = CanonicalPathOf(contents.target);
    return target && setupcore::IsStrictlyBelow(target.path, installDir_, IsAnsiLeadByte);
}

bool RemovalScope::AllowsRegistry(const RecordItem& item) const {
    for (const std::string& name : entryNames_) {
        if (item.kind == ItemKind::RegistryKey && SameText(item.parentKey, kUninstallKeyBase) &&
            SameText(item.name, name))
            return true;
        if (item.kind == ItemKind::RegistryValue &&
            SameText(item.parentKey, std::string(kUninstallKeyBase) + name + "\\"))
            return true;
    }
    return item.kind == ItemKind::RegistryValue && SameText(item.parentKey, kRunKey) &&
           SameText(item.name, kRunValue) && RefersToInstallation(StringValue(kRunKey, kRunValue));
}

bool RemovalScope::RefersToInstallation(const std::string& command) const {
    std::string program = command;
    if (!program.empty() && program[0] == '"')
        program = program.substr(1, program.find('"', 1) - 1);
    else
        program = program.substr(0, program.find(" /"));
    const setupcore::CanonicalPath canonical = CanonicalPathOf(program);
    return canonical && setupcore::IsStrictlyBelow(canonical.path, installDir_, IsAnsiLeadByte);
}
