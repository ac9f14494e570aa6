#include "path_scope.h"

namespace setupcore {

namespace {

bool IsUnsafeComponent(const std::string& name) {
    return name == "." || name == ".." || name.find(':') != std::string::npos;
}

// The names after the root, split at backslashes that are not trail bytes,
// empty ones dropped.
bool SplitNames(const std::string& rest, LeadBytePredicate isLead,
                std::vector<std::string>& components) {
    size_t start = 0;
    for (;;) {
        const size_t slash = FindFirstChar(rest, '\\', start, isLead);
        const std::string name =
            rest.substr(start, slash == kNotFound ? std::string::npos : slash - start);
        if (!name.empty()) {
            if (IsUnsafeComponent(name))
                return false;
            components.push_back(name);
        }
        if (slash == kNotFound)
            return true;
        start = slash + 1;
    }
}

bool StartsWithDrive(const std::string& path) {
    const unsigned char letter = static_cast<unsigned char>(path[0]);
    return path.size() >= 2 && path[1] == ':' &&
           ((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'));
}

} // namespace

std::vector<std::string> PathComponents(const std::string& path, LeadBytePredicate isLead) {
    std::vector<std::string> components;
    std::string rest;
    if (path.compare(0, 2, "\\\\") == 0) {
        if (path.compare(0, 4, "\\\\?\\") == 0 || path.compare(0, 4, "\\\\.\\") == 0)
            return {};
        components.push_back("\\\\");
        rest = path.substr(2);
    } else if (StartsWithDrive(path) && (path.size() == 2 || path[2] == '\\')) {
        components.push_back(path.substr(0, 2));
        rest = path.substr(2);
    } else {
        return {}; // relative, or rooted on no drive: not a place to compare
    }
    if (!SplitNames(rest, isLead, components))
        return {};
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

} // namespace setupcore
