// The installation's registry values under HKEY_CURRENT_USER: the uninstall
// entry and the auto-start value.
#include "install_steps.h"

#include "auto_start_item.h"
#include "install_date_text.h"
#include "path_helpers.h"
#include "product_identity.h"
#include "registry_change.h"
#include "registry_key_item.h"
#include "registry_names.h"
#include "registry_value_item.h"
#include "shortcut_item.h"

namespace {

// Kilobytes installed, as Apps and Features shows them.
DWORD InstalledKilobytes(const InstallTransaction& run) {
    ULONGLONG bytes = 0;
    for (const std::string& target : run.targets) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (::GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data))
            bytes += (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return static_cast<DWORD>((bytes + 1023) / 1024);
}

// Values deleted with the entry's key, which need no items of their own; a
// value that cannot be set leaves the entry less complete, never the
// installation broken, and is logged.
void SetEntryString(InstallTransaction& run, const std::string& key, const char* name,
                    const std::string& value) {
    LogRegistryValue(run.log, key, name, value, SetRegistryString(run, key, name, value));
}

void SetEntryNumber(InstallTransaction& run, const std::string& key, const char* name,
                    DWORD value) {
    LogRegistryValue(run.log, key, name, std::to_string(value),
                     SetRegistryNumber(run, key, name, value));
}

// A value the product's identity gives, or none: an earlier version's stays
// no longer than that version.
void SetOrDelete(InstallTransaction& run, const std::string& key, const char* name,
                 const std::string& value) {
    if (!value.empty())
        SetEntryString(run, key, name, value);
    else if (const LONG deleted = DeleteRegistryValue(run, key, name); deleted != ERROR_SUCCESS)
        LogRegistryValue(run.log, key, name, "(none)", deleted);
}

// Which version of whose product this is, and since when, for the tools
// that list installed programs and tell when an update is due.
void SetIdentity(InstallRun& run, const std::string& key) {
    InstallTransaction& transaction = run.transaction;
    const ProductIdentity identity = IdentityOf(run.context.package, run.programPath);
    SetOrDelete(transaction, key, "DisplayVersion", identity.version);
    SetOrDelete(transaction, key, "Publisher", identity.publisher);
    if (identity.hasNumbers) {
        SetEntryNumber(transaction, key, "VersionMajor", identity.major);
        SetEntryNumber(transaction, key, "VersionMinor", identity.minor);
    } else {
        SetOrDelete(transaction, key, "VersionMajor", std::string());
        SetOrDelete(transaction, key, "VersionMinor", std::string());
    }
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    SetEntryString(transaction, key, "InstallDate", InstallDateText(now));
    if (!run.context.installed)
        return;
    const std::string& earlier = run.context.installed->displayVersion;
    LogLine(transaction.log,
            "Version " +
                (identity.version.empty() ? std::string("(none stated)") : identity.version) +
                " replaces version " + (earlier.empty() ? std::string("(none stated)") : earlier) +
                (IsDowngrade(earlier, identity.version) ? ": a downgrade" : ""));
}

} // namespace

Problem RegisterUninstaller(InstallRun& run) {
    InstallTransaction& transaction = run.transaction;
    const std::string& displayName = run.context.g_strDisplayName;
    const std::string uninstallKey = kUninstallKeyBase + displayName;
    if (const LONG made = MakeRegistryKey(transaction, uninstallKey); made != ERROR_SUCCESS) {
        LogLine(transaction.log, "Could not make the uninstall entry HKEY_CURRENT_USER\\" +
                                     uninstallKey + " (error " + std::to_string(made) + ")");
        return Problem();
    }
    const std::string uninstaller = AppendPath(run.installDir, run.context.SetupFileName());
    if (!run.groupDir.empty())
        if (Problem problem = ShortcutItem::Make(
                transaction, {AppendPath(run.groupDir, "Uninstall.lnk"), uninstaller,
                              run.installDir, uninstaller, 1, " /UNINSTALL"}))
            return problem;
    // Quoted: the install directory usually lies below "Program Files".
    if (Problem problem = RegistryValueItem::Make(transaction, uninstallKey, "UninstallString",
                                                  "\"" + uninstaller + "\" /UNINSTALL"))
        return problem;
    if (Problem problem =
            RegistryValueItem::Make(transaction, uninstallKey, "DisplayName", displayName))
        return problem;
    // Tools that remove programs without a user start this one and wait for it.
    SetEntryString(transaction, uninstallKey, "QuietUninstallString",
                   "\"" + uninstaller + "\" /UNINSTALL /S");
    SetEntryString(transaction, uninstallKey, "DisplayIcon", run.programPath);
    SetEntryString(transaction, uninstallKey, "InstallLocation", run.installDir);
    SetEntryNumber(transaction, uninstallKey, "EstimatedSize", InstalledKilobytes(transaction));
    SetEntryNumber(transaction, uninstallKey, "NoModify", 1);
    SetEntryNumber(transaction, uninstallKey, "NoRepair", 1);
    SetIdentity(run, uninstallKey);
    return RegistryKeyItem::Record(transaction, kUninstallKeyBase, displayName);
}

Problem RegisterAutoStart(InstallRun& run) {
    return AutoStartItem::Make(run.transaction, run.programPath);
}
