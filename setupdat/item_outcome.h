// What became of one recorded item when an uninstallation (or the undoing of
// a run) tried to remove it.
#pragma once

#include <string>

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
