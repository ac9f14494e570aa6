#include "packsetup/best_deflate.h"

namespace packsetup {

bool HaveBestEncoder() {
    return false;
}

bool DeflateBest(const std::vector<uint8_t>&, std::vector<uint8_t>&) {
    return false;
}

} // namespace packsetup
