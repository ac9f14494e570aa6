#include "packaged_name_rule.h"

#include <vector>

namespace setupcore {
namespace {

std::string LowercaseAscii(std::string text) {
    for (char& ch : text)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return text;
}

// "%NAME%" with a name and no other percent sign.
bool IsPercentToken(const std::string& part) {
    return part.size() > 2 && part.front() == '%' && part.back() == '%' &&
           part.find('%', 1) == part.size() - 1;
}

NameFault CheckBytes(const std::string& name, LeadBytePredicate isLead) {
    if (name.empty())
        return NameFault::Empty;
    if (name[0] == '\\')
        return NameFault::LeadingBackslash;
    for (char ch : name) {
        if (static_cast<unsigned char>(ch) < 0x20)
            return NameFault::ControlCharacter;
        if (ch == ':')
            return NameFault::Colon;
        if (ch == '/')
            return NameFault::ForwardSlash;
    }
    if (CopyWholeCharacters(name, name.size(), isLead).size() != name.size())
        return NameFault::IncompleteCharacter;
    return NameFault::None;
}

NameFault CheckPart(const std::string& part) {
    if (part.empty())
        return NameFault::EmptyPart;
    if (part == ".")
        return NameFault::DotPart;
    if (part == "..")
        return NameFault::DotDotPart;
    if (part.back() == '.' || part.back() == ' ')
        return NameFault::EndsInDotOrBlank;
    if (IsDeviceName(part))
        return NameFault::DeviceName;
    return NameFault::None;
}

// The percent signs of a packaged name: none, or one leading %NAME% part
// with more parts after it.
NameFault CheckPercents(const std::vector<std::string>& parts) {
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].find('%') == std::string::npos)
            continue;
        if (i != 0 || parts.size() == 1 || !IsPercentToken(parts[i]))
            return NameFault::StrayPercent;
    }
    return NameFault::None;
}

NameFault CheckPath(const std::string& name, LeadBytePredicate isLead,
                    std::vector<std::string>& parts) {
    NameFault fault = CheckBytes(name, isLead);
    if (fault != NameFault::None)
        return fault;
    parts = SplitAtBackslashes(name, isLead);
    for (const std::string& part : parts)
        if ((fault = CheckPart(part)) != NameFault::None)
            return fault;
    return NameFault::None;
}

} // namespace

namespace {
// COM and LPT take a digit, or a superscript one, two or three (0xB9, 0xB2,
// 0xB3 in the Western code page), which newer Windows also reads as a port.
bool IsPortNumber(char ch) {
    return (ch >= '0' && ch <= '9') || ch == '\xB9' || ch == '\xB2' || ch == '\xB3';
}

} // namespace

bool IsDeviceName(const std::string& part) {
    std::string stem = LowercaseAscii(part.substr(0, part.find('.')));
    stem.erase(stem.find_last_not_of(' ') + 1);
    for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"})
        if (stem == device)
            return true;
    return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
           IsPortNumber(stem[3]);
}

NameFault CheckPackagedName(const std::string& name, LeadBytePredicate isLead) {
    std::vector<std::string> parts;
    NameFault fault = CheckPath(name, isLead, parts);
    return fault != NameFault::None ? fault : CheckPercents(parts);
}

NameFault CheckFolderName(const std::string& name, LeadBytePredicate isLead) {
    std::vector<std::string> parts;
    NameFault fault = CheckPath(name, isLead, parts);
    if (fault != NameFault::None)
        return fault;
    return name.find('%') == std::string::npos ? NameFault::None : NameFault::Percent;
}

const char* DescribeNameFault(NameFault fault) {
    switch (fault) {
    case NameFault::None:
        return "is a plain name below the install directory";
    case NameFault::Empty:
        return "is empty";
    case NameFault::LeadingBackslash:
        return "starts with a backslash, so it is a rooted path or a share";
    case NameFault::Colon:
        return "holds ':', which names a drive or a stream";
    case NameFault::ForwardSlash:
        return "holds a forward slash, which Windows takes as a separator; packaged names "
               "separate folders with backslashes";
    case NameFault::ControlCharacter:
        return "holds a control character";
    case NameFault::IncompleteCharacter:
        return "ends in the first byte of a double-byte character";
    case NameFault::EmptyPart:
        return "has an empty part: two backslashes in a row, or one at the end";
    case NameFault::DotPart:
        return "has a part that is '.'";
    case NameFault::DotDotPart:
        return "has a part that is '..', which climbs out of the folder it is in";
    case NameFault::EndsInDotOrBlank:
        return "has a part that ends in a dot or a blank, which Windows drops";
    case NameFault::DeviceName:
        return "has a part that is a device name on Windows";
    case NameFault::StrayPercent:
        return "holds '%' other than in one leading %NAME% folder such as %SystemRoot%";
    case NameFault::Percent:
        return "holds '%', which the installer would read as a system folder";
    }
    return "is refused";
}

} // namespace setupcore
