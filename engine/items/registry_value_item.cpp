#include "registry_value_item.h"

#include "registry_change.h"
#include "registry_key_item.h"
#include "registry_names.h"

void LogRegistryValue(InstallLog* log, const std::string& keyPath, const char* name,
                      const std::string& value, LONG result) {
    const std::string where = "HKEY_CURRENT_USER\\" + keyPath + "\\" + name;
    LogLine(log, result == ERROR_SUCCESS ? "Registry value made: " + where + " = " + value
                                         : "Could not set registry value " + where + " (error " +
                                               std::to_string(result) + ")");
}

Problem RegistryValueItem::Make(InstallTransaction& run, const std::string& keyPath,
                                const char* name, const std::string& value) {
    LogRegistryValue(run.log, keyPath, name, value, SetRegistryString(run, keyPath, name, value));
    return run.Record(setupcore::RecordItem::ForRegistryValue(keyPath + "\\", name));
}

bool RegistryValueItem::Handles(const setupcore::RecordItem& item) const {
    return item.kind == setupcore::ItemKind::RegistryValue;
}

bool RegistryValueItem::IsOurs(const setupcore::RecordItem& item,
                               const RemovalPlaces& places) const {
    for (const std::string& name : places.entryNames)
        if (setupcore::EqualsIgnoringAsciiCase(item.parentKey,
                                               std::string(kUninstallKeyBase) + name + "\\"))
            return true;
    return false;
}

ItemOutcome RegistryValueItem::Remove(const setupcore::RecordItem& item) const {
    return RemoveRegistryItem(item);
}
