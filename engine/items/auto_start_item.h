// The value under the Run key that starts the program with Windows.
#pragma once

#include "install_transaction.h"
#include "item_type.h"

class AutoStartItem : public ItemType {
public:
    // Sets the value to start `program` (quoted) and records it.
    static Problem Make(InstallTransaction& run, const std::string& program);

    const char* Name() const override { return "auto-start value"; }
    bool Handles(const setupcore::RecordItem& item) const override;
    // Only while it still starts a program in the install directory: another
    // installation's value of the same name is not ours.
    bool IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const override;
    ItemOutcome Remove(const setupcore::RecordItem& item) const override;
};
