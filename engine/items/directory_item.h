// A directory below the install directory, or the program group's directory
// below a Programs folder (recorded once as made, once as a directory).
#pragma once

#include "install_transaction.h"
#include "item_type.h"

class DirectoryItem : public ItemType {
public:
    // Makes `directory` and the folders on the way to it that are missing
    // (the run's, so undone with it) and records it as made.
    static Problem Make(InstallTransaction& run, const std::string& directory);
    // Records `directory` as a directory item (its path and a backslash).
    static Problem RecordAsDirectory(InstallTransaction& run, const std::string& directory);

    const char* Name() const override { return "directory"; }
    bool Handles(const setupcore::RecordItem& item) const override;
    bool IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const override;
    ItemOutcome Remove(const setupcore::RecordItem& item) const override;
};
