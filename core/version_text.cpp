#include "version_text.h"

#include <vector>

namespace setupcore {
namespace {

constexpr size_t kMaxParts = 4;
constexpr size_t kMinParts = 2;
constexpr uint32_t kMaxPart = 65535;

// One part: at least one digit, at most five, and no more than kMaxPart.
bool ParsePart(const std::string& text, uint16_t& out) {
    if (text.empty() || text.size() > 5)
        return false;
    uint32_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        value = value * 10 + static_cast<uint32_t>(ch - '0');
    }
    if (value > kMaxPart)
        return false;
    out = static_cast<uint16_t>(value);
    return true;
}

} // namespace

bool ParseVersionText(const std::string& text, VersionNumbers& out) {
    if (text.size() > kMaxVersionText)
        return false;
    std::vector<uint16_t> parts;
    size_t start = 0;
    for (;;) {
        const size_t dot = text.find('.', start);
        uint16_t part = 0;
        if (parts.size() == kMaxParts || !ParsePart(text.substr(start, dot - start), part))
            return false;
        parts.push_back(part);
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    if (parts.size() < kMinParts)
        return false;
    parts.resize(kMaxParts, 0);
    out = VersionNumbers{parts[0], parts[1], parts[2], parts[3]};
    return true;
}

} // namespace setupcore
