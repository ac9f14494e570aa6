#include "registry_key_item.h"

#include "reg_key_holder.h"
#include "registry_names.h"

namespace {

bool IsGone(LONG result) {
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

} // namespace

ItemOutcome RemoveRegistryItem(const setupcore::RecordItem& item) {
    CRegKeyHolder parent;
    const LONG opened = parent.Open(HKEY_CURRENT_USER, item.parentKey.c_str(), KEY_ALL_ACCESS);
    if (opened != ERROR_SUCCESS)
        return IsGone(opened) ? ItemOutcome::Removed : ItemOutcome::Failed;
    const LONG deleted = item.kind == setupcore::ItemKind::RegistryKey
                             ? ::RegDeleteKeyA(parent.m_hKey, item.name.c_str())
                             : ::RegDeleteValueA(parent.m_hKey, item.name.c_str());
    return IsGone(deleted) ? ItemOutcome::Removed : ItemOutcome::Failed;
}

Problem RegistryKeyItem::Record(InstallTransaction& run, const std::string& parentKey,
                                const std::string& name) {
    return run.Record(setupcore::RecordItem::ForRegistryKey(parentKey, name));
}

bool RegistryKeyItem::Handles(const setupcore::RecordItem& item) const {
    return item.kind == setupcore::ItemKind::RegistryKey;
}

bool RegistryKeyItem::IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const {
    if (!setupcore::EqualsIgnoringAsciiCase(item.parentKey, kUninstallKeyBase))
        return false;
    for (const std::string& name : places.entryNames)
        if (setupcore::EqualsIgnoringAsciiCase(item.name, name))
            return true;
    return false;
}

ItemOutcome RegistryKeyItem::Remove(const setupcore::RecordItem& item) const {
    return RemoveRegistryItem(item);
}
