// Any bytes given as an install record are either decoded within bounds or refused.
#include "install_record_format.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    setupcore::RecordParseResult parsed = setupcore::DecodeInstallRecord(data, size);
    if (parsed.offset > size)
        std::abort();
    if (parsed.Ok()) {
        std::string again = setupcore::EncodeInstallRecord(parsed.record);
        setupcore::RecordParseResult reparsed = setupcore::DecodeInstallRecord(
            reinterpret_cast<const uint8_t*>(again.data()), again.size());
        if (!reparsed.Ok())
            std::abort();
        std::vector<std::string> kept;
        for (const std::string& item : parsed.record.items)
            if (!item.empty())
                kept.push_back(item);
        if (reparsed.record.items != kept)
            std::abort();
    }
    return 0;
}
