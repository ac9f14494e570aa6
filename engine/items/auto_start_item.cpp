#include "auto_start_item.h"

#include "reg_key_holder.h"
#include "registry_change.h"
#include "registry_key_item.h"
#include "registry_names.h"
#include "registry_value_item.h"

namespace {

// The Run key's path without its trailing backslash.
std::string RunKeyPath() {
    std::string key = kRunKey;
    key.pop_back();
    return key;
}

std::string CurrentValue() {
    CRegKeyHolder key;
    if (key.Open(HKEY_CURRENT_USER, kRunKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return std::string();
    char text[2048] = "";
    DWORD size = sizeof text - 1, type = 0;
    if (::RegQueryValueExA(key.m_hKey, kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(text),
                           &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    return std::string(text, strnlen(text, size));
}

} // namespace

Problem AutoStartItem::Make(InstallTransaction& run, const std::string& program) {
    const std::string command = "\"" + program + "\"";
    LONG result = MakeRegistryKey(run, RunKeyPath());
    if (result == ERROR_SUCCESS)
        result = SetRegistryString(run, RunKeyPath(), kRunValue, command);
    LogRegistryValue(run.log, RunKeyPath(), kRunValue, command, result);
    if (result != ERROR_SUCCESS)
        return Problem(); // nothing made, nothing to record
    return run.Record(setupcore::RecordItem::ForRegistryValue(kRunKey, kRunValue));
}

bool AutoStartItem::Handles(const setupcore::RecordItem& item) const {
    return item.kind == setupcore::ItemKind::RegistryValue &&
           setupcore::EqualsIgnoringAsciiCase(item.parentKey, kRunKey) &&
           setupcore::EqualsIgnoringAsciiCase(item.name, kRunValue);
}

bool AutoStartItem::IsOurs(const setupcore::RecordItem&, const RemovalPlaces& places) const {
    return places.RefersToInstallation(CurrentValue());
}

ItemOutcome AutoStartItem::Remove(const setupcore::RecordItem& item) const {
    return RemoveRegistryItem(item);
}
