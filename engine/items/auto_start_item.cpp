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
    return places.RefersToInstallation(ReadRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValue));
}

ItemOutcome AutoStartItem::Remove(const setupcore::RecordItem& item) const {
    return RemoveRegistryItem(item);
}
