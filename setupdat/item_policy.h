// What the uninstaller may remove of what an install record names. The record
// is input someone else may have written: the policy is asked about every
// item before anything is touched.
#pragma once

#include <string>

namespace setupcore {
struct RecordItem;
}
class CSetupDat;

class ItemPolicy {
public:
    virtual ~ItemPolicy() = default;
    // Called once the record is read, before the first item is asked about.
    virtual void Prepare(const CSetupDat& record) = 0;
    // `item` with a bare file name already put below the install directory.
    virtual bool Allows(const setupcore::RecordItem& item) const = 0;
};

// What became of one recorded item.
enum class ItemOutcome {
    Removed,   // gone now, or was never there
    Scheduled, // left to the next restart
    Failed,    // could be neither removed nor scheduled
    Refused,   // lies where no installation puts anything: left alone
};

struct ItemLeft {
    std::string text; // the item as recorded
    ItemOutcome outcome = ItemOutcome::Failed;
};
