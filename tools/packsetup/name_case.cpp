#include "packsetup/name_case.h"

#include "packsetup/utf8_text.h"

namespace packsetup {
namespace {

bool Between(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

// In Latin Extended-A upper and lower case take turns; which comes first
// changes twice.
char32_t FoldLatinExtendedA(char32_t c) {
    if (c == 0x178) // Y with diaeresis, whose lower case is in Latin-1
        return 0xFF;
    const bool upperIsEven =
        Between(c, 0x100, 0x12F) || Between(c, 0x132, 0x137) || Between(c, 0x14A, 0x177);
    const bool upperIsOdd = Between(c, 0x139, 0x148) || Between(c, 0x179, 0x17E);
    if ((upperIsEven && c % 2 == 0) || (upperIsOdd && c % 2 == 1))
        return c + 1;
    return c;
}

char32_t Fold(char32_t c) {
    if (Between(c, 'A', 'Z') || (Between(c, 0xC0, 0xDE) && c != 0xD7) ||
        (Between(c, 0x391, 0x3A9) && c != 0x3A2) || Between(c, 0x410, 0x42F) ||
        Between(c, 0xFF21, 0xFF3A))
        return c + 0x20;
    if (Between(c, 0x400, 0x40F))
        return c + 0x50;
    return FoldLatinExtendedA(c);
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else {
        if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        }
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

} // namespace

std::string FoldCase(const std::string& utf8) {
    std::string folded;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = Utf8SequenceLength(lead);
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        AppendUtf8(Fold(c), folded);
        i += length;
    }
    return folded;
}

} // namespace packsetup
