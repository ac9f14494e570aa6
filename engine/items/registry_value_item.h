// A value of the uninstall entry under HKEY_CURRENT_USER.
#pragma once

#include "install_transaction.h"
#include "item_type.h"

class RegistryValueItem : public ItemType {
public:
    // Sets the string value (what stood before is put back should the run
    // not complete) and records it; a value that cannot be set is logged.
    static Problem Make(InstallTransaction& run, const std::string& keyPath, const char* name,
                        const std::string& value);

    const char* Name() const override { return "registry value"; }
    bool Handles(const setupcore::RecordItem& item) const override;
    bool IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const override;
    ItemOutcome Remove(const setupcore::RecordItem& item) const override;
};

// Logs a registry value as it was set, or why it could not be.
void LogRegistryValue(InstallLog* log, const std::string& keyPath, const char* name,
                      const std::string& value, LONG result);
