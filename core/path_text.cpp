#include "path_text.h"

#include <cstring>

namespace setupcore {

namespace {

// Calls `visit` with the index of every character start, skipping trail bytes.
template <class Visit>
void ForEachCharStart(const std::string& text, LeadBytePredicate isLead, Visit visit) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (!visit(i))
            return;
        if (isLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
            ++i;
    }
}

} // namespace

size_t FindFirstChar(const std::string& text, char ch, size_t from, LeadBytePredicate isLead) {
    size_t found = kNotFound;
    ForEachCharStart(text, isLead, [&](size_t i) {
        if (i >= from && text[i] == ch) {
            found = i;
            return false;
        }
        return true;
    });
    return found;
}

size_t FindLastChar(const std::string& text, char ch, LeadBytePredicate isLead) {
    size_t found = kNotFound;
    ForEachCharStart(text, isLead, [&](size_t i) {
        if (text[i] == ch)
            found = i;
        return true;
    });
    return found;
}

std::string FileNamePart(const std::string& path, bool keepExtension, LeadBytePredicate isLead) {
    size_t slash = FindLastChar(path, '\\', isLead);
    std::string name = slash == kNotFound ? path : path.substr(slash + 1);
    if (!keepExtension) {
        size_t dot = FindLastChar(name, '.', isLead);
        if (dot != kNotFound)
            name.resize(dot);
    }
    return name;
}

bool DirectoryBeforeLastBackslash(const std::string& path, std::string& directory,
                                  LeadBytePredicate isLead) {
    size_t slash = FindLastChar(path, '\\', isLead);
    if (slash == kNotFound || slash + 1 == path.size())
        return false;
    directory = path.substr(0, slash);
    return true;
}

std::vector<std::string> SplitAtBackslashes(const std::string& path, LeadBytePredicate isLead) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t slash = FindFirstChar(path, '\\', start, isLead);
        if (slash == kNotFound) {
            parts.push_back(path.substr(start));
            return parts;
        }
        parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
}

std::string AppendPathText(const std::string& directory, const std::string& name) {
    std::string joined = directory;
    if (!joined.empty() && joined.back() != '\\')
        joined += '\\';
    return joined + name;
}

namespace {

// Where the walk of DirectoryTreePrefixes starts; false when it must not start.
bool WalkStart(const std::string& path, LeadBytePredicate isLead, size_t& start) {
    size_t first = FindFirstChar(path, '\\', 0, isLead);
    if (first == kNotFound) {
        start = 0;
        return true;
    }
    if (first + 1 < path.size() && path[first + 1] == '\\') {
        size_t serverEnd = FindFirstChar(path, '\\', first + 2, isLead);
        if (serverEnd == kNotFound)
            return false;
        size_t shareEnd = FindFirstChar(path, '\\', serverEnd + 1, isLead);
        start = shareEnd == kNotFound ? 0 : shareEnd;
        return true;
    }
    if (first == 0 || path[first - 1] == ':') {
        start = first + 1;
        return true;
    }
    start = first;
    return true;
}

} // namespace

bool DirectoryTreePrefixes(const std::string& path, std::vector<std::string>& prefixes,
                           LeadBytePredicate isLead) {
    prefixes.clear();
    size_t pos = 0;
    if (!WalkStart(path, isLead, pos))
        return false;
    for (;;) {
        size_t slash = FindFirstChar(path, '\\', pos, isLead);
        if (slash == kNotFound) {
            prefixes.push_back(path);
            return true;
        }
        prefixes.push_back(path.substr(0, slash));
        pos = slash + 1;
    }
}

PercentToken FindPercentToken(const std::string& directory, LeadBytePredicate isLead) {
    PercentToken token;
    size_t open = FindFirstChar(directory, '%', 0, isLead);
    if (open == kNotFound)
        return token;
    size_t close = FindFirstChar(directory, '%', open + 1, isLead);
    if (close == kNotFound) {
        token.kind = PercentToken::Kind::Unclosed;
        token.name = directory.substr(open + 1);
        return token;
    }
    token.kind = PercentToken::Kind::Closed;
    token.name = directory.substr(open + 1, close - open - 1);
    token.after = directory.substr(close + 1);
    return token;
}

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::string ExtensionAfterLastDot(const std::string& path, LeadBytePredicate isLead) {
    size_t dot = FindLastChar(path, '.', isLead);
    return dot == kNotFound ? std::string() : path.substr(dot + 1);
}

} // namespace setupcore

namespace setupcore {

std::string CopyWholeCharacters(const std::string& text, size_t length, LeadBytePredicate isLead) {
    std::string copy = text.substr(0, length);
    copy = copy.substr(0, copy.find('\0'));
    size_t end = 0;
    for (size_t i = 0; i < copy.size();) {
        size_t width = isLead(static_cast<unsigned char>(copy[i])) ? 2 : 1;
        if (i + width > copy.size())
            break;
        i += width;
        end = i;
    }
    copy.resize(end);
    return copy;
}

} // namespace setupcore
