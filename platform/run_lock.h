// One run at a time per product: an installation, an update or a removal of
// a product holds its lock for as long as it changes anything, so that a
// second run of the same product (a double click, two deployment jobs) can
// tell that one is under way rather than trample on it.
#pragma once

#include "unique_handle.h"

#include <string>

class ProductRunLock {
public:
    // Takes the lock of the product named `productName`, waiting up to
    // `waitMilliseconds` for a run that holds it; false when another run
    // still holds it then (or no lock could be made at all).
    bool Take(const std::string& productName, unsigned long waitMilliseconds);
    ~ProductRunLock();

private:
    UniqueKernelHandle mutex_;
    bool held_ = false;
};
