// A file below the install directory (a packaged file, URL.txt), or one the
// installation created below the Windows directory.
#pragma once

#include "install_transaction.h"
#include "item_type.h"

class FileItem : public ItemType {
public:
    // Copies `from` over `to` (a file the package need not have: recorded
    // all the same) and records it; the problem when it cannot be recorded.
    static Problem MakeCopy(InstallTransaction& run, const std::string& from,
                            const std::string& to);

    const char* Name() const override { return "file"; }
    bool Handles(const setupcore::RecordItem& item) const override;
    bool IsOurs(const setupcore::RecordItem& item, const RemovalPlaces& places) const override;
    ItemOutcome Remove(const setupcore::RecordItem& item) const override;
};
