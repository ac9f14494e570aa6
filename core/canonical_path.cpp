#include "canonical_path.h"

#include "packaged_name_rule.h"

#include <vector>

namespace setupcore {

namespace {

bool IsSeparator(char ch) {
    return ch == '\\' || ch == '/';
}

bool IsDriveLetter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// The parts between separators of either kind; a trail byte that looks like
// a backslash separates nothing.
std::vector<std::string> SplitAtSeparators(const std::string& text, LeadBytePredicate isLead) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (isLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            parts.back() += text.substr(i, 2);
            ++i;
        } else if (IsSeparator(text[i])) {
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

bool IsReservedCharacter(char ch) {
    switch (ch) {
    case '<':
    case '>':
    case '"':
    case '|':
    case '?':
    case '*':
        return true;
    default:
        return false;
    }
}

// What is wrong with one name between separators, "." and ".." aside.
PathFault CheckPart(const std::string& part, LeadBytePredicate isLead) {
    for (size_t i = 0; i < part.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(part[i]);
        if (byte < 0x20)
            return PathFault::ControlCharacter;
        if (part[i] == ':')
            return PathFault::Colon;
        if (IsReservedCharacter(part[i]))
            return PathFault::ReservedCharacter;
        if (isLead(byte))
            ++i; // its trail byte is no character of its own
    }
    if (part.back() == '.' || part.back() == ' ')
        return PathFault::EndsInDotOrBlank;
    if (IsDeviceName(part))
        return PathFault::DeviceName;
    return PathFault::None;
}

// "\\?\", "\\.\", "\??\" and "\\?" or "\\." alone, in either separator.
bool IsVerbatimOrDevice(const std::string& path) {
    if (path.size() < 3 || !IsSeparator(path[0]))
        return false;
    const bool marked = (IsSeparator(path[1]) && (path[2] == '?' || path[2] == '.')) ||
                        (path[1] == '?' && path[2] == '?');
    return marked && (path.size() == 3 || IsSeparator(path[3]));
}

// The root ("C:" or "\\server\share") and the names after it.
PathFault SplitRoot(const std::string& path, LeadBytePredicate isLead, std::string& root,
                    std::vector<std::string>& names) {
    if (IsVerbatimOrDevice(path))
        return PathFault::VerbatimOrDevice;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        names = SplitAtSeparators(path.substr(2), isLead);
        if (names.size() < 2 || names[0].empty() || names[1].empty())
            return PathFault::NoShareName;
        for (size_t i = 0; i < 2; ++i) {
            if (names[i] == "." || names[i] == "..")
                return PathFault::ClimbsAboveRoot;
            if (const PathFault fault = CheckPart(names[i], isLead); fault != PathFault::None)
                return fault;
        }
        root = "\\\\" + names[0] + "\\" + names[1];
        names.erase(names.begin(), names.begin() + 2);
        return PathFault::None;
    }
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) {
        root = path.substr(0, 2);
        names = SplitAtSeparators(path.substr(3), isLead);
        return PathFault::None;
    }
    return PathFault::NotAbsolute;
}

// "." and empty names dropped, ".." taking the name before it away.
PathFault Resolve(const std::vector<std::string>& names, LeadBytePredicate isLead,
                  std::vector<std::string>& resolved) {
    for (const std::string& name : names) {
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            if (resolved.empty())
                return PathFault::ClimbsAboveRoot;
            resolved.pop_back();
            continue;
        }
        if (const PathFault fault = CheckPart(name, isLead); fault != PathFault::None)
            return fault;
        resolved.push_back(name);
    }
    return PathFault::None;
}

CanonicalPath Refused(PathFault fault) {
    return {std::string(), fault};
}

} // namespace

CanonicalPath Canonicalize(const std::string& path, LeadBytePredicate isLead) {
    if (path.empty())
        return Refused(PathFault::Empty);
    if (CopyWholeCharacters(path, path.size(), isLead).size() != path.size())
        return path.find('\0') != std::string::npos ? Refused(PathFault::ControlCharacter)
                                                    : Refused(PathFault::IncompleteCharacter);
    std::string root;
    std::vector<std::string> names, resolved;
    PathFault fault = SplitRoot(path, isLead, root, names);
    if (fault == PathFault::None)
        fault = Resolve(names, isLead, resolved);
    if (fault != PathFault::None)
        return Refused(fault);
    std::string canonical = root;
    if (resolved.empty() && root.size() == 2)
        canonical += '\\'; // a drive's root keeps its backslash: "C:" alone is relative
    for (const std::string& name : resolved)
        canonical += "\\" + name;
    return {canonical, PathFault::None};
}

CanonicalPath CanonicalizeFrom(const std::string& base, const std::string& path,
                               LeadBytePredicate isLead) {
    const bool relative = !path.empty() && !IsSeparator(path[0]) &&
                          !(path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':');
    return Canonicalize(relative ? base + "\\" + path : path, isLead);
}

bool IsCanonical(const std::string& path, LeadBytePredicate isLead) {
    const CanonicalPath canonical = Canonicalize(path, isLead);
    return canonical && canonical.path == path;
}

const char* DescribePathFault(PathFault fault) {
    switch (fault) {
    case PathFault::None:
        return "is a plain absolute path";
    case PathFault::Empty:
        return "is empty";
    case PathFault::NotAbsolute:
        return "is not an absolute path on a drive or a share";
    case PathFault::VerbatimOrDevice:
        return "is a verbatim or device path";
    case PathFault::NoShareName:
        return "names a server without a share";
    case PathFault::ClimbsAboveRoot:
        return "climbs above its drive or share with '..'";
    case PathFault::EndsInDotOrBlank:
        return "has a part that ends in a dot or a blank, which Windows drops";
    case PathFault::Colon:
        return "holds ':' inside the path, which names a stream";
    case PathFault::ControlCharacter:
        return "holds a control character";
    case PathFault::ReservedCharacter:
        return "holds one of < > \" | ? *";
    case PathFault::DeviceName:
        return "has a part that is a device name on Windows";
    case PathFault::IncompleteCharacter:
        return "ends in the first byte of a double-byte character";
    }
    return "is refused";
}

} // namespace setupcore
