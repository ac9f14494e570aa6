// Any bytes given as Setup.dat are either parsed within bounds or refused.
#include "package_index.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    setupcore::IndexParseResult parsed = setupcore::ParsePackageIndex(data, size);
    if (parsed.offset > size)
        std::abort();
    if (parsed.Ok()) {
        // What was read must encode to a prefix-equal index that reads the same.
        std::string again = setupcore::EncodePackageIndex(parsed.index);
        setupcore::IndexParseResult reparsed = setupcore::ParsePackageIndex(
            reinterpret_cast<const uint8_t*>(again.data()), again.size());
        if (!reparsed.Ok() || reparsed.index.files.size() != parsed.index.files.size())
            std::abort();
    }
    return 0;
}
