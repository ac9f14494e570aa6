#include "packsetup/code_page.h"

namespace packsetup {
namespace {

bool ShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Simplified and traditional Chinese and Korean lead with any high byte but
// the first and the last.
bool HighByteLead(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

} // namespace

bool IsAnsiCodePage(unsigned codePage) {
    switch (codePage) {
    case 874:
    case 932:
    case 936:
    case 949:
    case 950:
        return true;
    default:
        return codePage >= 1250 && codePage <= 1258;
    }
}

setupcore::LeadBytePredicate LeadBytesOf(unsigned codePage) {
    switch (codePage) {
    case 932:
        return ShiftJisLead;
    case 936:
    case 949:
    case 950:
        return HighByteLead;
    default:
        return setupcore::NoLeadBytes;
    }
}

} // namespace packsetup
