// The installation's registry values under HKEY_CURRENT_USER: the uninstall
// entry and the auto-start value.
#include "install_steps.h"

#include "path_helpers.h"
#include "record_item.h"
#include "reg_key_holder.h"
#include "registry_names.h"
#include "shell_link.h"

namespace {

// Each value's result is left unchecked: a value that cannot be written
// leaves the entry less complete, never the installation broken.
void SetString(HKEY key, const char* name, const std::string& value) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

void SetNumber(HKEY key, const char* name, DWORD value) {
    ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// Kilobytes installed, as Apps and Features shows them.
DWORD InstalledKilobytes(const CSetupDat& dat) {
    ULONGLONG bytes = 0;
    for (const auto& entry : dat.m_files) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (::GetFileAttributesExA(entry->targetPath.c_str(), GetFileExInfoStandard, &data))
            bytes += (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return static_cast<DWORD>((bytes + 1023) / 1024);
}

} // namespace

void RegisterUninstaller(InstallRun& run, CRegKeyHolder& key) {
    const std::string& displayName = run.context.g_strDisplayName;
    const std::string uninstallKey = kUninstallKeyBase + displayName;
    if (key.Create(HKEY_CURRENT_USER, uninstallKey.c_str()) != ERROR_SUCCESS)
        return;
    const std::string uninstaller = AppendPath(run.installDir, run.context.SetupFileName());
    if (!run.groupDir.empty()) {
        const std::string link = AppendPath(run.groupDir, "Uninstall.lnk");
        CreateShortcut(uninstaller, link, run.installDir.c_str(), uninstaller.c_str(), 1,
                       " /UNINSTALL");
        run.RecordPath(link);
    }
    SetString(key.m_hKey, "DisplayName", displayName);
    // Quoted: the install directory usually lies below "Program Files".
    SetString(key.m_hKey, "UninstallString", "\"" + uninstaller + "\" /UNINSTALL");
    // Tools that remove programs without a user start this one and wait for it.
    SetString(key.m_hKey, "QuietUninstallString", "\"" + uninstaller + "\" /UNINSTALL /S");
    // Deleted with the key, so they need no items of their own.
    SetString(key.m_hKey, "DisplayIcon", run.programPath);
    SetString(key.m_hKey, "InstallLocation", run.installDir);
    SetNumber(key.m_hKey, "EstimatedSize", InstalledKilobytes(run.dat));
    SetNumber(key.m_hKey, "NoModify", 1);
    SetNumber(key.m_hKey, "NoRepair", 1);
    const std::string valuesKey = uninstallKey + "\\";
    run.Record(setupcore::RecordItem::ForRegistryValue(valuesKey, "UninstallString"));
    run.Record(setupcore::RecordItem::ForRegistryValue(valuesKey, "DisplayName"));
    run.Record(setupcore::RecordItem::ForRegistryKey(kUninstallKeyBase, displayName));
    key.Close();
    LogRegistryValues(run.context.log, uninstallKey);
}

void RegisterAutoStart(InstallRun& run, CRegKeyHolder& key) {
    if (key.Create(HKEY_CURRENT_USER, kRunKey) != ERROR_SUCCESS)
        return;
    SetString(key.m_hKey, kRunValue, "\"" + run.programPath + "\"");
    key.Close();
    run.Record(setupcore::RecordItem::ForRegistryValue(kRunKey, kRunValue));
    LogLine(run.context.log, std::string("Registry value made: HKEY_CURRENT_USER\\") + kRunKey +
                                 kRunValue + " = \"" + run.programPath + "\"");
}
