// A removal's result as an item's outcome.
#pragma once

#include "item_outcome.h"
#include "reboot_delete.h"

inline ItemOutcome OutcomeOf(Removal removal) {
    switch (removal) {
    case Removal::Removed:
        return ItemOutcome::Removed;
    case Removal::Scheduled:
        return ItemOutcome::Scheduled;
    case Removal::Failed:
        break;
    }
    return ItemOutcome::Failed;
}
