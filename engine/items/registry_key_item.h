// The uninstall entry's key under HKEY_CURRENT_USER.
#pragma once

#include "install_transaction.h"
#include "item_type.h"

class RegistryKeyItem : public ItemType {
public:
    // Records the key `name` below `parentKey` (which ends in a backslash).
    static Problem Record(InstallTransaction& run, const std::string& parentKey,
                          const std::string& name);

    const char* Name() const override { return "registry key"; }
    bool Handles(const setupcore::RecordItem& item) const override;
    bool IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const override;
    ItemOutcome Remove(const setupcore::RecordItem& item) const override;
};

// Removes a key or a value below a parent key of HKEY_CURRENT_USER; one that
// is gone already counts as removed.
ItemOutcome RemoveRegistryItem(const setupcore::RecordItem& item);
