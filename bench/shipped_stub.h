// What the shipped installer weighs before any packaged file: the setup
// program and the zlib1.dll it needs, as this build made them (beside this
// program), for the report to set beside the peers' empty installers.
#pragma once

#include <cstdint>

namespace bench {

struct ShippedStub {
    uint64_t setupBytes = 0; // Setup.exe; 0 when it is not there
    uint64_t zlibBytes = 0;  // zlib1.dll; 0 when it is not there
};

ShippedStub ReadShippedStub();

} // namespace bench
