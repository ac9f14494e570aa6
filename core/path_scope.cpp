#include "path_scope.h"

#include "canonical_path.h"

namespace setupcore {

std::vector<std::string> PathComponents(const std::string& path, LeadBytePredicate isLead) {
    if (!IsCanonical(path, isLead))
        return {};
    std::vector<std::string> components;
    std::string rest;
    if (path.compare(0, 2, "\\\\") == 0) {
        components.push_back("\\\\");
        rest = path.substr(2);
    } else {
        components.push_back(path.substr(0, 2));
        rest = path.substr(3);
    }
    if (!rest.empty())
        for (std::string& name : SplitAtBackslashes(rest, isLead))
            components.push_back(std::move(name));
    return components;
}

namespace {

// -1 when `path` is not within `base`, else how many components it has
// beyond it.
long Depth(const std::string& path, const std::string& base, LeadBytePredicate isLead) {
    const std::vector<std::string> inner = PathComponents(path, isLead);
    const std::vector<std::string> outer = PathComponents(base, isLead);
    if (inner.empty() || outer.empty() || inner.size() < outer.size())
        return -1;
    for (size_t i = 0; i < outer.size(); ++i)
        if (!EqualsIgnoringAsciiCase(inner[i], outer[i]))
            return -1;
    return static_cast<long>(inner.size() - outer.size());
}

} // namespace

bool IsWithin(const std::string& path, const std::string& base, LeadBytePredicate isLead) {
    return Depth(path, base, isLead) >= 0;
}

bool IsStrictlyBelow(const std::string& path, const std::string& base, LeadBytePredicate isLead) {
    return Depth(path, base, isLead) > 0;
}

bool IsSamePath(const std::string& a, const std::string& b, LeadBytePredicate isLead) {
    return Depth(a, b, isLead) == 0;
}

} // namespace setupcore
